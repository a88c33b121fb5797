#include "ui/views/holder_tree_view.h"

#include "ui/views/entry_list_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "core/ports/desktop_shell.h"
#include "core/resources/menu_resources.h"
#include "core/resources/string_table.h"
#include "core/views/shown_holder.h"
#include "platform/qt/qt_text.h"
#include "ui/seams/file_dialogs.h"
#include "ui/seams/message_box.h"
#include "ui/views/holder_tree_model.h"
#include "ui/views/menu_key.h"

namespace kantoria {
namespace {

QMenu* CreateHolderMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    // Menu 145: the holder's folder in the file manager, and moving the holder's entries.
    for (const MenuItem& item : LoadMenu(IDR_HOLDER_CONTEXT_MENU).front().items) {
        if (item.kind == MenuItem::Kind::Separator) {
            menu->addSeparator();
            continue;
        }
        menu->addAction(ToQt(item.text))->setData(item.id);
    }
    return menu;
}

QAction* ActionOf(const QMenu& menu, int id) {
    for (QAction* action : menu.actions())
        if (!action->isSeparator() && action->data().toInt() == id) return action;
    return nullptr;
}

bool IsShowKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    return mods == Qt::NoModifier && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter ||
                                      key.key() == Qt::Key_Space);
}

}  // namespace

HolderTreeView::HolderTreeView(Catalogue& doc, DesktopShell& shell, MessageBoxes& messages,
                               QWidget* parent)
    : QTreeView(parent),
      doc_(doc),
      shell_(shell),
      messages_(messages),
      model_(new HolderTreeModel(this)),
      menu_(CreateHolderMenu(this)) {
    setModel(model_);
    setHeaderHidden(true);
    header()->setStretchLastSection(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(ToQt(LoadString(IDS_NAME_HOLDER_TREE)));
    // The right button shows menu 145 itself, and contextMenuEvent takes the keyboard's
    // request; nothing else may offer a context menu here.
    setContextMenuPolicy(Qt::DefaultContextMenu);
    connect(ActionOf(*menu_, ID_HOLDER_EXPLORER), &QAction::triggered, this,
            &HolderTreeView::OnHolderExplorer);
    connect(ActionOf(*menu_, ID_HOLDER_RELOCATE), &QAction::triggered, this,
            &HolderTreeView::OnHolderRelocate);
    doc_.AddObserver(this);
}

HolderTreeView::~HolderTreeView() {
    doc_.RemoveObserver(this);
}

void HolderTreeView::OnUpdate(CatalogueObserver*) {
    FillHolderTree();
    SelectHolderPath();
}

// The tree is built again only when the holders (or how they show) changed; either way every
// item is collapsed, and SelectHolderPath opens the way to the shown one.
void HolderTreeView::FillHolderTree() {
    const FilledShape shape{doc_.HoldersRevision(), doc_.FileEncoding(), folders_};
    if (filled_ == shape) {
        collapseAll();
        return;
    }
    model_->Reset(HolderTree::Build(doc_.Holders()), doc_.FileEncoding(), folders_);
    filled_ = shape;
}

void HolderTreeView::SetShowFolders(bool folders) {
    if (folders == folders_) return;
    folders_ = folders;
    OnUpdate(nullptr);
}

int HolderTreeView::ShownNode() const {
    if (list_ != nullptr && !list_->Content().ShowsHolder()) return kNoHolderNode;
    return ShownHolder(model_->tree(), doc_);
}

void HolderTreeView::SelectHolderPath() {
    const QModelIndex index = model_->IndexOf(ShownNode());
    if (!index.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) expand(up);
    setCurrentIndex(index);
    scrollTo(index);
}

void HolderTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLeftButtonDown(event);
    } else if (event->button() == Qt::RightButton) {
        OnRightButtonDown(event);
    } else {
        QTreeView::mousePressEvent(event);
    }
}

void HolderTreeView::OnLeftButtonDown(QMouseEvent* event) {
    // The whole row counts: indentation, expand button, picture, label and the space after it.
    const QModelIndex hit = indexAt(event->position().toPoint());
    setFocus(Qt::MouseFocusReason);
    if (!hit.isValid()) return;
    const int node = model_->NodeOf(hit);
    // A grey folder node holds no entries: it opens and closes, and the list stays.
    if (node == kNoHolderNode) {
        QTreeView::mousePressEvent(event);
        return;
    }
    ChooseHolder(doc_, model_->tree(), node);
    if (list_ != nullptr) list_->Show({});
    doc_.UpdateAllViews(this);
    // The control expands, collapses and selects as usual; a click on the expand button
    // selects the item all the same.
    QTreeView::mousePressEvent(event);
    SelectHolderPath();
}

void HolderTreeView::keyPressEvent(QKeyEvent* event) {
    if (IsContextMenuKey(*event)) {
        PopupAtHighlight();
        event->accept();
        return;
    }
    // Other keys, the arrows among them, move the highlight only, as the control does.
    if (!IsShowKey(*event)) {
        QTreeView::keyPressEvent(event);
        return;
    }
    event->accept();
    ShowHolderAt(currentIndex());
}

void HolderTreeView::contextMenuEvent(QContextMenuEvent* event) {
    // The right button's menu was shown on the press; only the keyboard's request is left.
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard) PopupAtHighlight();
}

void HolderTreeView::ShowHolderAt(const QModelIndex& index) {
    if (!index.isValid()) return;
    const int node = model_->NodeOf(index);
    if (node == kNoHolderNode) {
        setExpanded(index, !isExpanded(index));
        return;
    }
    ChooseHolder(doc_, model_->tree(), node);
    if (list_ != nullptr) list_->Show({});
    doc_.UpdateAllViews(this);
    SelectHolderPath();
}

void HolderTreeView::PopupAtHighlight() {
    const QModelIndex current = currentIndex();
    // Where the system sends both the key and a request for the menu, the first one wins.
    if (!current.isValid() || menu_->isVisible()) return;
    // The menu acts on the selected item: the highlight and the selection are one here.
    setCurrentIndex(current);
    scrollTo(current);
    const QRect item = visualRect(current);
    Popup(viewport()->mapToGlobal(QPoint(item.left() + item.height(), item.bottom())));
}

void HolderTreeView::Popup(QPoint global) {
    ActionOf(*menu_, ID_HOLDER_RELOCATE)->setEnabled(relocate_.has_value());
    menu_->popup(global);
}

void HolderTreeView::OnRightButtonDown(QMouseEvent* event) {
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (!hit.isValid()) return;
    // Highlighted only: the shown holder and the entry list stay as they are.
    setCurrentIndex(hit);
    setFocus(Qt::MouseFocusReason);
    Popup(event->globalPosition().toPoint());
}

std::optional<std::string> HolderTreeView::HighlightedFolder() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty()) return std::nullopt;
    return model_->FolderOf(selected.front());
}

void HolderTreeView::OnHolderExplorer() {
    const std::optional<std::string> folder = HighlightedFolder();
    if (!folder) return;
    if (!shell_.OpenFolder(FileSystemText(*folder, doc_.FileEncoding())).ok())
        AskUser(messages_, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
}

// On a grey folder node, everything below it moves.
void HolderTreeView::OnHolderRelocate() {
    if (const std::optional<std::string> folder = HighlightedFolder()) RelocateFolder(*folder);
}

bool HolderTreeView::CanRelocateShownHolder() const {
    return relocate_ && ShownNode() != kNoHolderNode;
}

void HolderTreeView::RelocateShownHolder() {
    const int node = ShownNode();
    if (node != kNoHolderNode) RelocateFolder(model_->tree().node(node).folder);
}

void HolderTreeView::RelocateFolder(const std::string& folder) {
    if (!relocate_) return;
    // A folder of another system (C:\ on Linux) gives the picker nowhere to start.
    const std::optional<std::string> to = relocate_->files.BrowseForFolder(
        LoadString(IDS_RELOCATE_CAPTION), relocate_->exists(folder) ? folder : std::string());
    if (!to) return;
    const RelocationPlan plan = PlanRelocation(doc_, folder, *to, relocate_->exists);
    const std::string question = RelocationQuestion(plan, doc_.FileEncoding());
    if (plan.moves.empty()) {
        AskUser(messages_, question, MbButtons::Ok,
                plan.fault == PathFault::None ? MbIcon::Information : MbIcon::Exclamation);
        return;
    }
    if (AskUser(messages_, question, MbButtons::OkCancel, MbIcon::Question) != MbAnswer::Ok) return;
    RecordStep(history_, StepKind::Relocate, [&] {
        ApplyRelocation(doc_, plan);
        return true;
    });
    RebuildIcons(doc_, relocate_->icons);
    doc_.UpdateAllViews(nullptr);
}

}  // namespace kantoria
