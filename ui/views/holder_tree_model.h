// The holder tree as a Qt item model: a read-only view over one HolderTree as it is shown (with
// or without grey folder nodes), replaced whole on every refill.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include "core/text/text_codec.h"
#include "core/views/holder_tree_logic.h"
#include "core/views/shown_tree.h"

namespace kantoria {

class HolderTreeModel final : public QAbstractItemModel {
    Q_OBJECT

  public:
    explicit HolderTreeModel(QObject* parent = nullptr);

    // encoding is the catalogue's, which decides how its text shows; folders adds the grey
    // folder nodes.
    void Reset(HolderTree tree, Encoding encoding, bool folders = false);
    const HolderTree& tree() const { return tree_; }
    QModelIndex IndexOf(int node) const;
    // The holder node of index, or kNoHolderNode for a folder node or an invalid index.
    int NodeOf(const QModelIndex& index) const;
    // The folder string of index's holder or folder node; empty for an invalid index.
    std::string FolderOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    // The shown node of index, or kNoHolderNode.
    static int ShownOf(const QModelIndex& index);
    QModelIndex IndexOfShown(int shown) const;

    HolderTree tree_;
    ShownTree shown_;
    Encoding encoding_ = Encoding::Cp932;
    QIcon icon_;
    QIcon folderIcon_;  // greyed, for folder nodes: made once, not at every paint
};

}  // namespace kantoria
