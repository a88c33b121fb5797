// The entry list, the right pane: what it is told to show (the shown holder's entries, a find
// over the whole catalogue, the missing files) in one of four view modes, the selected entry
// kept in the document, titles renamed in place, and the commands that act
// on entries: open, explore, add, update, delete, cut, copy, paste and properties.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/icons/rebuild_icons.h"
#include "core/os/presence_checker.h"
#include "core/views/entry_list_logic.h"
#include "core/views/list_content.h"
#include "core/views/presence_tracker.h"
#include "core/views/view_type.h"
#include "ui/undo/entry_history.h"
#include "ui/views/entry_list_model.h"

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QMenu;
class QStackedLayout;
class QTimer;
class QTreeView;

namespace kantoria {

class DesktopShell;
class DialogRunner;
class EntryEditor;
class FileDialogs;
class MessageBoxes;
class SettingsStore;

// What the entry list reaches outside the document; everything must outlive the view.
struct EntryListServices {
    SettingsStore& settings;
    MessageBoxes& messages;
    FileDialogs& files;
    DialogRunner& dialogs;
    DesktopShell& shell;
    IconServices icons;
};

class EntryListView final : public QWidget, public CatalogueObserver {
    Q_OBJECT

  public:
    // Reads the view mode from the settings and joins doc's views; doc must outlive the view.
    EntryListView(Catalogue& doc, const EntryListServices& services, QWidget* parent = nullptr);
    // Writes the view mode back to the settings.
    ~EntryListView() override;

    void OnUpdate(CatalogueObserver* sender) override;
    // Shows content from the next refresh on (the caller updates the views). Reading another
    // catalogue goes back to the shown holder's entries.
    void Show(ListContent content);
    const ListContent& Content() const;
    // What computes the rows: the find's words from the documents' text and the documents
    // that could not be read are handed to it (the caller refreshes the list).
    ListRows& RowSource() { return rows_; }
    // Rebuilds the list from the document and selects the selected title again.
    void RefreshList();

    ViewType viewType() const { return viewType_; }
    void SetIconLookup(EntryIconLookup lookup);
    // Records the list's changes to the entries for undo from now on; history must outlive
    // the view.
    void SetHistory(EntryHistory* history) { history_ = history; }

    // Looks at the files through probe from now on, and again at every entry's file.
    void SetPathProbe(std::shared_ptr<PathProbe> probe, PresenceCheckLimits limits = {});
    // Whether the files of the entries are still being looked at.
    bool CheckingFiles() const;

    // The current entry, the one the one-entry commands act on, while it is selected; else the
    // first selected one; null when nothing is selected.
    EntryRef GetSelectedEntry() const;
    // Every selected entry, in the list's order.
    std::vector<EntryRef> GetSelectedEntries() const;
    // The column the report is sorted by on the user's click, none while in title order.
    std::optional<EntrySortKey> SortKey() const { return sortKey_; }
    // The widget that shows the items in the current mode.
    QAbstractItemView* currentView() const;
    // Menu 137, shown on a right click on an item.
    QMenu* popupMenu() const { return menu_; }
    QListView* iconView() const { return iconView_; }
    QTreeView* reportView() const { return reportView_; }
    EntryListModel* entryModel() const { return model_; }

    // The entry commands by command id: whether the list takes id, whether it can run now
    // (an entry selected, something to paste), and running it.
    static bool HandlesCommand(int id);
    bool CommandEnabled(int id) const;
    void RunCommand(int id);
    // Where the popup menu's commands go; they run here directly until a frame routes them.
    void SetCommandRoute(std::function<void(int id)> route) { route_ = std::move(route); }

    void OpenEntryFile(EntryRef entry);
    void ExploreEntryFolder(EntryRef entry);

  signals:
    // The selection changed, so commands may have become available or unavailable.
    void CommandStatesChanged();
    // After every refill: what the status bar says of a shown choice (how many were found),
    // empty while the list shows a holder.
    void StatusTextChanged(const QString& text);

  public slots:
    void OnEntryOpen();
    void OnEntryExplorer();
    void OnEntryAdd();
    void OnEntryUpdate();
    void OnEntryDelete();
    void OnEntryProperties();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditSelectAll();
    void OnViewLargeIcon();
    void OnViewSmallIcon();
    void OnViewList();
    void OnViewDetails();
    // Lists every entry of the catalogue whose file or folder is known to be gone, as a find
    // does; the list grows while the files are still being looked at.
    void OnEntryMissing();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void WatchInput(QAbstractItemView* view);
    bool OnViewportEvent(QAbstractItemView* view, QEvent* event);
    bool OnViewEvent(QAbstractItemView* view, QEvent* event);
    void OnDoubleClick(QAbstractItemView* view, QPoint at);
    void OnContextMenu(QAbstractItemView* view, QPoint at, QPoint global);
    void PopupAtSelection(QAbstractItemView* view);
    void Remove(const std::vector<EntryRef>& entries);
    // Opens the file of entry; false when it is missing or nothing would open it.
    bool TryOpen(EntryRef entry);
    void OnHeaderClicked(int section);
    void SetViewType(ViewType type);
    void ApplyViewType();
    void RestoreSelection();
    void OnItemChanged(const QModelIndex& index);
    void OnRename(int row, const std::string& text);
    // Rebuilds the list from the document without looking at the files again.
    void Refill();
    bool ShowingMissing() const;
    // The folder of the holder the list shows; nothing while it shows a choice or no holder.
    std::optional<std::string> ShownHolderFolder();
    void CheckFiles();
    // Starts the timers the tracker's work needs.
    void Follow(PresenceWork work);
    // Asks about the next slice of the catalogue's files, on a timer, so that a large
    // catalogue neither holds the window's first paint nor freezes it afterwards.
    void AskNextFiles();
    void TakeFileAnswers();

    Catalogue& doc_;
    EntryListServices services_;
    EntryHistory* history_ = nullptr;
    ListContent content_;
    std::uint64_t contentGeneration_ = 0;  // the entries' generation content_ was set in
    ListRows rows_;  // the holders' tree and the find keys, kept between refreshes
    std::unique_ptr<EntryEditor> editor_;
    std::function<void(int id)> route_;
    ViewType viewType_;
    EntryListModel* model_;  // children of this widget, as are the views below
    QStackedLayout* stack_;
    QListView* iconView_;
    QTreeView* reportView_;
    QItemSelectionModel* selection_;
    QMenu* menu_;
    bool refilling_ = false;  // set while the list is rebuilt: its notifications are not the user's
    // Whether the entries' files are there: what to look at is the tracker's; the timers
    // collect the answers (answers_) and walk the catalogue (walk_) while it asks.
    PresenceTracker tracker_;
    QTimer* answers_;
    QTimer* walk_;
    // The report's order picked by a header click; it lasts until another catalogue is read
    // (sortGeneration_ is the entries' generation it was picked in).
    std::optional<EntrySortKey> sortKey_;
    std::uint64_t sortGeneration_ = 0;
};

}  // namespace kantoria
