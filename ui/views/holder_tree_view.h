// The holder tree, the left pane: one item per holder, nested by folder. A left click on an
// item makes its holder the one the entry list shows; a right click offers to open its folder
// or to move its entries to another folder. From the keyboard the arrow keys move the
// highlight only, Enter or Space shows the highlighted holder as a click does, and the menu
// key or Shift+F10 offers the highlighted item's menu.
#pragma once

#include <QTreeView>
#include <cstdint>
#include <optional>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/icons/rebuild_icons.h"
#include "core/resources/command_ids.h"
#include "core/views/holder_relocation.h"

class QMenu;

#include "ui/undo/entry_history.h"

namespace kantoria {

class DesktopShell;
class FileDialogs;
class EntryListView;
class HolderTreeModel;
class MessageBoxes;

// What moving a holder's entries needs beyond the tree's own services.
struct RelocateServices {
    FileDialogs& files;
    IconServices icons;
    ExistsCheck exists;  // whether a path stands on disk
};

class HolderTreeView final : public QTreeView, public CatalogueObserver {
    Q_OBJECT

  public:
    // Joins doc's views; the document, the shell and the message boxes must outlive the view.
    HolderTreeView(Catalogue& doc, DesktopShell& shell, MessageBoxes& messages,
                   QWidget* parent = nullptr);
    ~HolderTreeView() override;

    // Refills the tree whole and selects the shown holder, whoever sent the update.
    void OnUpdate(CatalogueObserver* sender) override;

    // Menu 145, the item's popup menu.
    QMenu* popupMenu() const { return menu_; }
    HolderTreeModel* holderModel() const { return model_; }

    // Enables relocating; the services must outlive the view.
    void SetRelocateServices(RelocateServices services) { relocate_.emplace(std::move(services)); }
    // Records relocations for undo from now on; history must outlive the view.
    void SetHistory(EntryHistory* history) { history_ = history; }
    // The list beside the tree (not owned; it must outlive the tree's use of it): no holder
    // shows as current while it shows a find or the missing files, and a chosen holder is what
    // it shows next.
    void SetList(EntryListView* list) { list_ = list; }
    // Shows grey folder nodes for the folders that join the top-level holders, or not.
    void SetShowFolders(bool folders);
    bool ShowsFolders() const { return folders_; }
    // Whether the menu bar's relocate command has a holder to act on: the shown one.
    bool CanRelocateShownHolder() const;
    // Relocates the shown holder (the menu bar's command).
    void RelocateShownHolder();

  public slots:
    // Opens the folder of the selected item's holder.
    void OnHolderExplorer();
    // Asks where the highlighted item's folder went and moves its entries there.
    void OnHolderRelocate();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void FillHolderTree();
    void SelectHolderPath();
    void OnLeftButtonDown(QMouseEvent* event);
    void OnRightButtonDown(QMouseEvent* event);
    // What a click on index does: shows its holder, or opens or closes a grey folder node.
    void ShowHolderAt(const QModelIndex& index);
    // The menu of the highlighted item, beside it.
    void PopupAtHighlight();
    void Popup(QPoint global);
    // The folder of the highlighted item, a holder's or a grey folder node's.
    std::optional<std::string> HighlightedFolder() const;
    void RelocateFolder(const std::string& folder);

    Catalogue& doc_;
    DesktopShell& shell_;
    MessageBoxes& messages_;
    HolderTreeModel* model_;  // a child of this view
    QMenu* menu_;             // a child of this view
    std::optional<RelocateServices> relocate_;
    EntryHistory* history_ = nullptr;
    bool folders_ = false;
    // What the model was last filled from.
    struct FilledShape {
        std::uint64_t holders;
        Encoding encoding;
        bool folders;
        bool operator==(const FilledShape&) const = default;
    };
    std::optional<FilledShape> filled_;
    // The holder the tree shows as current, none while the list shows something else.
    int ShownNode() const;

    EntryListView* list_ = nullptr;
};

}  // namespace kantoria
