#include "ui/views/holder_tree_model.h"

#include <QPalette>
#include <utility>

#include "platform/qt/qt_text.h"
#include "ui/views/folder_images.h"

namespace kantoria {
namespace {

constexpr int kFolderIconSize = 16;

}  // namespace

HolderTreeModel::HolderTreeModel(QObject* parent)
    : QAbstractItemModel(parent),
      icon_(HolderIcon()),
      folderIcon_(icon_.pixmap(kFolderIconSize, QIcon::Disabled)) {}

void HolderTreeModel::Reset(HolderTree tree, Encoding encoding, bool folders) {
    beginResetModel();
    encoding_ = encoding;
    tree_ = std::move(tree);
    shown_ = ShownTree::Build(tree_, folders);
    endResetModel();
}

// An index's internal id is its shown node's number plus one, so that 0 stays free. A holder's
// shown node has the holder's number.
QModelIndex HolderTreeModel::IndexOfShown(int shown) const {
    if (shown == kNoHolderNode) return {};
    return createIndex(shown_.node(shown).row, 0, static_cast<quintptr>(shown) + 1);
}

int HolderTreeModel::ShownOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<int>(index.internalId()) - 1 : kNoHolderNode;
}

QModelIndex HolderTreeModel::IndexOf(int node) const {
    return IndexOfShown(node);
}

int HolderTreeModel::NodeOf(const QModelIndex& index) const {
    const int shown = ShownOf(index);
    return shown == kNoHolderNode ? kNoHolderNode : shown_.node(shown).holder;
}

std::string HolderTreeModel::FolderOf(const QModelIndex& index) const {
    const int shown = ShownOf(index);
    return shown == kNoHolderNode ? std::string() : shown_.node(shown).folder;
}

QModelIndex HolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    const int p = ShownOf(parent);
    const std::vector<int>& children =
        p == kNoHolderNode ? shown_.roots() : shown_.node(p).children;
    if (static_cast<std::size_t>(row) >= children.size()) return {};
    return IndexOfShown(children[static_cast<std::size_t>(row)]);
}

QModelIndex HolderTreeModel::parent(const QModelIndex& child) const {
    const int shown = ShownOf(child);
    if (shown == kNoHolderNode) return {};
    return IndexOfShown(shown_.node(shown).parent);
}

int HolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const int p = ShownOf(parent);
    return static_cast<int>(p == kNoHolderNode ? shown_.roots().size()
                                               : shown_.node(p).children.size());
}

int HolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant HolderTreeModel::data(const QModelIndex& index, int role) const {
    const int shown = ShownOf(index);
    if (shown == kNoHolderNode) return {};
    const ShownNode& n = shown_.node(shown);
    const bool folderOnly = n.holder == kNoHolderNode;
    switch (role) {
        case Qt::DisplayRole:
            // The root of a POSIX file system keeps its empty label in label paths.
            return n.folder == "/" ? QStringLiteral("/") : ToDisplayQt(n.label, encoding_);
        case Qt::ToolTipRole:
            return ToDisplayQt(n.folder, encoding_);
        case Qt::DecorationRole:
            return folderOnly ? folderIcon_ : icon_;
        case Qt::ForegroundRole:
            // A folder node holds no entries of its own: it shows greyed.
            return folderOnly ? QVariant(QPalette().brush(QPalette::Disabled, QPalette::Text))
                              : QVariant();
        default:
            return {};
    }
}

}  // namespace kantoria
