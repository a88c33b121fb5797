#include "ui/views/holder_tree_model.h"

#include <utility>

#include "platform/qt/qt_text.h"
#include "ui/views/folder_images.h"

namespace kantoria {
namespace {}  // namespace

HolderTreeModel::HolderTreeModel(QObject* parent)
    : QAbstractItemModel(parent), icon_(HolderIcon()) {}

void HolderTreeModel::Reset(HolderTree tree, Encoding encoding) {
    beginResetModel();
    encoding_ = encoding;
    tree_ = std::move(tree);
    endResetModel();
}

// An index's internal id is its node number plus one, so that 0 stays free.
QModelIndex HolderTreeModel::IndexOf(int node) const {
    if (node == kNoHolderNode) return {};
    return createIndex(tree_.node(node).row, 0, static_cast<quintptr>(node) + 1);
}

int HolderTreeModel::NodeOf(const QModelIndex& index) {
    if (!index.isValid()) return kNoHolderNode;
    return static_cast<int>(index.internalId()) - 1;
}

QModelIndex HolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    const int p = NodeOf(parent);
    const std::vector<int>& children = p == kNoHolderNode ? tree_.roots() : tree_.node(p).children;
    if (static_cast<std::size_t>(row) >= children.size()) return {};
    return IndexOf(children[static_cast<std::size_t>(row)]);
}

QModelIndex HolderTreeModel::parent(const QModelIndex& child) const {
    const int node = NodeOf(child);
    if (node == kNoHolderNode) return {};
    return IndexOf(tree_.node(node).parent);
}

int HolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const int p = NodeOf(parent);
    return static_cast<int>(p == kNoHolderNode ? tree_.roots().size()
                                               : tree_.node(p).children.size());
}

int HolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant HolderTreeModel::data(const QModelIndex& index, int role) const {
    const int node = NodeOf(index);
    if (node == kNoHolderNode) return {};
    const HolderNode& n = tree_.node(node);
    switch (role) {
        case Qt::DisplayRole:
            // The root of a POSIX file system keeps its empty label in label paths.
            return n.folder == "/" ? QStringLiteral("/") : ToDisplayQt(n.label, encoding_);
        case Qt::ToolTipRole:
            return ToDisplayQt(n.folder, encoding_);
        case Qt::DecorationRole:
            return icon_;
        default:
            return {};
    }
}

}  // namespace kantoria
