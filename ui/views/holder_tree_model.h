// The holder tree as a Qt item model: a read-only view over one HolderTree, replaced whole on
// every refill.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include "core/text/text_codec.h"
#include "core/views/holder_tree_logic.h"

namespace kantoria {

class HolderTreeModel final : public QAbstractItemModel {
    Q_OBJECT

  public:
    explicit HolderTreeModel(QObject* parent = nullptr);

    // encoding is the catalogue's, which decides how its text shows.
    void Reset(HolderTree tree, Encoding encoding);
    const HolderTree& tree() const { return tree_; }
    QModelIndex IndexOf(int node) const;
    // The node of index, or kNoHolderNode for an invalid index.
    static int NodeOf(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    HolderTree tree_;
    Encoding encoding_ = Encoding::Cp932;
    QIcon icon_;
};

}  // namespace kantoria
