#include "ui/frame/frame_preview.h"

#include <QLineEdit>
#include <QSplitter>
#include <QTimer>
#include <algorithm>

#include "core/ports/settings_store.h"
#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"
#include "core/text/text_codec.h"
#include "ui/views/entry_list_view.h"
#include "ui/views/preview_pane.h"

namespace kantoria {
namespace {

constexpr int kDefaultWidth = 360;
constexpr int kLeastWidth = 80;

}  // namespace

FramePreview::FramePreview(QSplitter& splitter, EntryListView& list, QLineEdit& findField,
                           SettingsStore& settings, const Catalogue& doc)
    : QObject(&splitter),
      splitter_(splitter),
      list_(list),
      findField_(findField),
      settings_(settings),
      doc_(doc),
      pane_(new PreviewPane(&splitter)) {
    splitter_.addWidget(pane_);
    splitter_.setStretchFactor(splitter_.indexOf(pane_), 0);
    splitter_.setCollapsible(splitter_.indexOf(pane_), false);
    pane_->hide();
    // A refill of the list changes its rows without a selection signal.
    connect(&list_, &EntryListView::CommandStatesChanged, this, [this] { FollowSelection(); });
    connect(&list_, &EntryListView::StatusTextChanged, this, [this] { FollowSelection(); });
    connect(&findField_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (pane_->isVisible()) pane_->SetFindText(text);
    });
    connect(&splitter_, &QSplitter::splitterMoved, this, [this] {
        if (pane_->isVisible() && pane_->width() >= kLeastWidth)
            settings_.WriteProfileInt(LoadString(IDS_SECTION_SETTINGS),
                                      LoadString(IDS_VALUE_PREVIEWWIDTH), pane_->width());
    });
    if (settings_.GetProfileInt(LoadString(IDS_SECTION_SETTINGS), LoadString(IDS_VALUE_PREVIEW),
                                0) != 0)
        SetShown(true);
}

bool FramePreview::QueryCommand(int id, CommandState& state) const {
    if (id != ID_VIEW_PREVIEW) return false;
    state.checked = !pane_->isHidden();
    return true;
}

void FramePreview::RunCommand(int id) {
    if (id != ID_VIEW_PREVIEW) return;
    SetShown(pane_->isHidden());
    settings_.WriteProfileInt(LoadString(IDS_SECTION_SETTINGS), LoadString(IDS_VALUE_PREVIEW),
                              pane_->isHidden() ? 0 : 1);
}

void FramePreview::SetTextSource(PreviewTextSource source) {
    pane_->SetTextSource(std::move(source));
}

void FramePreview::SetShown(bool shown) {
    if (!shown) {
        pane_->hide();
        pane_->ShowFiles({});  // lets go of the document
        return;
    }
    pane_->show();
    // A splitter not yet shown has no widths to share: the pane gets its own once it has.
    if (splitter_.isVisible()) {
        ApplyWidth();
    } else {
        QTimer::singleShot(0, this, [this] { ApplyWidth(); });
    }
    pane_->SetFindText(findField_.text());
    FollowSelection();
}

void FramePreview::ApplyWidth() {
    const int width = std::max(
        kLeastWidth, settings_.GetProfileInt(LoadString(IDS_SECTION_SETTINGS),
                                             LoadString(IDS_VALUE_PREVIEWWIDTH), kDefaultWidth));
    QList<int> sizes = splitter_.sizes();
    const int at = splitter_.indexOf(pane_);
    const int listAt = splitter_.indexOf(&list_);
    if (pane_->isHidden() || listAt < 0 || at < 0 || sizes.size() <= at) return;
    const int room = sizes[listAt] + sizes[at];
    const int taken = std::min(width, std::max(kLeastWidth, room - kLeastWidth));
    sizes[listAt] = room - taken;
    sizes[at] = taken;
    splitter_.setSizes(sizes);
}

void FramePreview::FollowSelection() {
    if (pane_->isHidden()) return;
    std::vector<std::string> paths;
    for (EntryRef entry : list_.GetSelectedEntries())
        paths.push_back(FileSystemText(entry->Path(), doc_.FileEncoding()));
    pane_->ShowFiles(paths);
}

}  // namespace kantoria
