// How the user reaches the entry commands from the list itself: a double-click on an item, the
// Enter key, the delete keys and the item's popup menu (by the right button, the menu key or
// Shift+F10).
#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeView>

#include "core/resources/command_ids.h"
#include "ui/views/entry_list_view.h"
#include "ui/views/menu_key.h"

namespace kantoria {
namespace {

// The command a key pressed in the list stands for, or 0. The menu promises Ctrl+D for delete;
// the Delete key is what every file list takes.
int ListKeyCommand(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::NoModifier) {
        if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return ID_ENTRY_OPEN;
        if (key.key() == Qt::Key_Delete) return ID_ENTRY_DELETE;
    }
    if (mods == Qt::ControlModifier && key.key() == Qt::Key_D) return ID_ENTRY_DELETE;
    return 0;
}

}  // namespace

void EntryListView::WatchInput(QAbstractItemView* view) {
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    // The popup menu is shown by the context-menu event below, after the click has selected.
    view->setContextMenuPolicy(Qt::DefaultContextMenu);
}

bool EntryListView::eventFilter(QObject* watched, QEvent* event) {
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(iconView_),
                                    static_cast<QAbstractItemView*>(reportView_)}) {
        if (watched == view->viewport() && OnViewportEvent(view, event)) return true;
        if (watched == view && OnViewEvent(view, event)) return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool EntryListView::OnViewportEvent(QAbstractItemView* view, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) OnDoubleClick(view, mouse->position().toPoint());
        return false;
    }
    if (event->type() == QEvent::ContextMenu) {
        // Sent once the press has been handled, so the item under the pointer is selected.
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        OnContextMenu(view, menu->pos(), menu->globalPos());
        return true;
    }
    return false;
}

bool EntryListView::OnViewEvent(QAbstractItemView* view, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // A key that an in-place title editor let through is not meant for the list.
        if (!view->hasFocus()) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsContextMenuKey(*key)) {
            PopupAtSelection(view);
            return true;
        }
        const int command = ListKeyCommand(*key);
        if (command == 0) return false;
        route_(command);
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        // The system's own request from the keyboard.
        PopupAtSelection(view);
        return true;
    }
    return false;
}

void EntryListView::PopupAtSelection(QAbstractItemView* view) {
    // Where the system sends both the key and a request for the menu, the first one wins.
    if (menu_->isVisible()) return;
    // The current item's menu, beside it; else the first selected one's.
    QModelIndex item = selection_->currentIndex();
    if (!item.isValid() || !selection_->isSelected(item.siblingAtColumn(0))) {
        const QModelIndexList selected = selection_->selectedIndexes();
        if (selected.isEmpty()) return;
        item = selected.front();
    }
    view->scrollTo(item);
    const QPoint at = view->visualRect(item).center();
    OnContextMenu(view, at, view->viewport()->mapToGlobal(at));
}

void EntryListView::OnDoubleClick(QAbstractItemView* view, QPoint at) {
    const QModelIndex hit = view->indexAt(at);
    if (!hit.isValid()) return;
    // The item double-clicked, whichever is selected.
    OpenEntryFile(model_->EntryAt(hit.row()));
}

void EntryListView::OnContextMenu(QAbstractItemView* view, QPoint at, QPoint global) {
    if (!view->indexAt(at).isValid()) return;
    menu_->popup(global);
}

}  // namespace kantoria
