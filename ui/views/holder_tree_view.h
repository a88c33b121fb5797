// The holder tree, the left pane: one item per holder, nested by folder. A left click on an
// item makes its holder the one the entry list shows; a right click offers to open its folder.
#pragma once

#include <QTreeView>

#include "core/catalogue/morka2_doc.h"
#include "core/resources/command_ids.h"

class QMenu;

namespace kantoria {

class DesktopShell;
class HolderTreeModel;
class MessageBoxes;

class CMORKA2TView final : public QTreeView, public CDocObserver {
    Q_OBJECT

  public:
    // Joins doc's views; the document, the shell and the message boxes must outlive the view.
    CMORKA2TView(CMORKA2Doc& doc, DesktopShell& shell, MessageBoxes& messages,
                 QWidget* parent = nullptr);
    ~CMORKA2TView() override;

    // Refills the tree whole and selects the shown holder, whoever sent the update.
    void OnUpdate(CDocObserver* sender) override;

    // Menu 145, the item's popup menu.
    QMenu* popupMenu() const { return menu_; }
    HolderTreeModel* holderModel() const { return model_; }

  public slots:
    // Opens the folder of the selected item's holder.
    void OnHolderExplorer();

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void FillHolderTree();
    void SelectHolderPath();
    void OnLeftButtonDown(QMouseEvent* event);
    void OnRightButtonDown(QMouseEvent* event);

    CMORKA2Doc& doc_;
    DesktopShell& shell_;
    MessageBoxes& messages_;
    HolderTreeModel* model_;  // a child of this view
    QMenu* menu_;             // a child of this view
};

}  // namespace kantoria
