// The entry list, the right pane: the entries of the shown holder in one of four view modes,
// the selected entry kept in the document, titles renamed in place.
#pragma once

#include <QWidget>
#include <string>

#include "catalogue/morka2_doc.h"
#include "views/entry_list_model.h"
#include "views/view_type.h"

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QStackedLayout;
class QTreeView;

namespace kantoria {

class MessageBoxes;
class SettingsStore;

class CMORKA2View final : public QWidget, public CDocObserver {
    Q_OBJECT

  public:
    // Reads the view mode from settings and joins doc's views. The document, the settings and
    // the message boxes must outlive the view.
    CMORKA2View(CMORKA2Doc& doc, SettingsStore& settings, MessageBoxes& messages,
                QWidget* parent = nullptr);
    // Writes the view mode back to the settings.
    ~CMORKA2View() override;

    void OnUpdate(CDocObserver* sender) override;
    // Rebuilds the list from the document and selects the selected title again.
    void RefreshList();

    ViewType viewType() const { return viewType_; }
    void SetIconLookup(EntryIconLookup lookup);

    // The entry of the selected item, or null.
    POSITION GetSelectedEntry() const;
    // The widget that shows the items in the current mode.
    QAbstractItemView* currentView() const;
    QListView* iconView() const { return iconView_; }
    QTreeView* reportView() const { return reportView_; }
    EntryListModel* entryModel() const { return model_; }

  public slots:
    void OnViewLargeIcon();
    void OnViewSmallIcon();
    void OnViewList();
    void OnViewDetails();

  private:
    void SetViewType(ViewType type);
    void ApplyViewType();
    void RestoreSelection();
    void OnItemChanged(const QModelIndex& index);
    void OnRename(int row, const std::string& text);

    CMORKA2Doc& doc_;
    SettingsStore& settings_;
    MessageBoxes& messages_;
    ViewType viewType_;
    EntryListModel* model_;  // children of this widget, as are the views below
    QStackedLayout* stack_;
    QListView* iconView_;
    QTreeView* reportView_;
    QItemSelectionModel* selection_;
    bool refilling_ = false;  // set while the list is rebuilt: its notifications are not the user's
};

}  // namespace kantoria
