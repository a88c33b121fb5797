#include "ui/views/holder_tree_view.h"

#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>

#include "core/ports/desktop_shell.h"
#include "core/resources/menu_resources.h"
#include "core/resources/string_table.h"
#include "core/views/shown_holder.h"
#include "platform/qt/qt_text.h"
#include "ui/seams/message_box.h"
#include "ui/views/holder_tree_model.h"

namespace kantoria {
namespace {

QMenu* CreateHolderMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    // Menu 145 holds one command, the holder's folder in the file manager.
    const MenuItem& item = LoadMenu(IDR_HOLDER_CONTEXT_MENU).front().items.front();
    QAction* explorer = menu->addAction(ToQt(item.text));
    explorer->setData(ID_HOLDER_EXPLORER);
    return menu;
}

}  // namespace

CMORKA2TView::CMORKA2TView(CMORKA2Doc& doc, DesktopShell& shell, MessageBoxes& messages,
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
    // The right button shows menu 145 itself; nothing else may offer a context menu here.
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(menu_->actions().front(), &QAction::triggered, this, &CMORKA2TView::OnHolderExplorer);
    doc_.AddObserver(this);
}

CMORKA2TView::~CMORKA2TView() {
    doc_.RemoveObserver(this);
}

void CMORKA2TView::OnUpdate(CDocObserver*) {
    FillHolderTree();
    SelectHolderPath();
}

void CMORKA2TView::FillHolderTree() {
    // A reset also collapses every item; SelectHolderPath opens the way to the shown one.
    model_->Reset(HolderTree::Build(doc_.m_HolderList), doc_.m_encoding);
}

void CMORKA2TView::SelectHolderPath() {
    const QModelIndex index = model_->IndexOf(ShownHolder(model_->tree(), doc_));
    if (!index.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) expand(up);
    setCurrentIndex(index);
    scrollTo(index);
}

void CMORKA2TView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLeftButtonDown(event);
    } else if (event->button() == Qt::RightButton) {
        OnRightButtonDown(event);
    } else {
        QTreeView::mousePressEvent(event);
    }
}

void CMORKA2TView::OnLeftButtonDown(QMouseEvent* event) {
    // The whole row counts: indentation, expand button, picture, label and the space after it.
    const QModelIndex hit = indexAt(event->position().toPoint());
    setFocus(Qt::MouseFocusReason);
    if (!hit.isValid()) return;
    ChooseHolder(doc_, model_->tree(), HolderTreeModel::NodeOf(hit));
    doc_.UpdateAllViews(this);
    // The control expands, collapses and selects as usual; a click on the expand button
    // selects the item all the same.
    QTreeView::mousePressEvent(event);
    SelectHolderPath();
}

void CMORKA2TView::OnRightButtonDown(QMouseEvent* event) {
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (!hit.isValid()) return;
    // Highlighted only: the shown holder and the entry list stay as they are.
    setCurrentIndex(hit);
    setFocus(Qt::MouseFocusReason);
    menu_->popup(event->globalPosition().toPoint());
}

void CMORKA2TView::OnHolderExplorer() {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty()) return;
    const int node = HolderTreeModel::NodeOf(selected.front());
    if (!shell_.OpenFolder(model_->tree().node(node).folder).ok())
        AfxMessageBox(messages_, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
}

}  // namespace kantoria
