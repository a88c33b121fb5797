// The preview pane in the main window: the third pane of the splitter, right of the entry list,
// shown by 表示's toggle. Whether it is shown and how wide it is are remembered in the settings.
#pragma once

#include <QObject>

#include "core/app/command_target.h"
#include "core/catalogue/catalogue.h"
#include "core/views/preview_text.h"

class QLineEdit;
class QSplitter;

namespace kantoria {

class EntryListView;
class PreviewPane;
class SettingsStore;

class FramePreview final : public QObject {
  public:
    // Adds the pane to splitter (which owns it), after the list; the pane follows list's
    // selection and findField's words while it is shown.
    FramePreview(QSplitter& splitter, EntryListView& list, QLineEdit& findField,
                 SettingsStore& settings, const Catalogue& doc);

    // ID_VIEW_PREVIEW only.
    bool QueryCommand(int id, CommandState& state) const;
    void RunCommand(int id);

    PreviewPane* Pane() const { return pane_; }
    // Where the pane's text comes from (see PreviewPane::SetTextSource).
    void SetTextSource(PreviewTextSource source);

  private:
    void SetShown(bool shown);
    void ApplyWidth();
    void FollowSelection();

    QSplitter& splitter_;
    EntryListView& list_;
    QLineEdit& findField_;
    SettingsStore& settings_;
    const Catalogue& doc_;
    PreviewPane* pane_;  // a child of the splitter
};

}  // namespace kantoria
