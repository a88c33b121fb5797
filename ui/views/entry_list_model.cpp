#include "ui/views/entry_list_model.h"

#include <utility>

#include "core/resources/string_table.h"
#include "core/views/entry_list_logic.h"
#include "platform/qt/qt_text.h"

namespace kantoria {
namespace {}  // namespace

EntryListModel::EntryListModel(QObject* parent) : QAbstractTableModel(parent) {}

void EntryListModel::Reset(std::vector<POSITION> rows, Encoding encoding) {
    beginResetModel();
    encoding_ = encoding;
    rows_.clear();
    rows_.reserve(rows.size());
    for (const POSITION e : rows)
        rows_.push_back(
            {e, e->m_strTitle, CommentColumnText(e->m_strComment), e->m_strPath, e->m_nImage});
    entries_ = std::move(rows);
    endResetModel();
}

void EntryListModel::SetLargeIcons(bool large) {
    if (large == large_) return;
    large_ = large;
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int EntryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
        case Qt::ToolTipRole:
            return ToDisplayQt(column == kTitleColumn     ? row.title
                               : column == kCommentColumn ? row.comment
                                                          : row.path,
                               encoding_);
        case Qt::DecorationRole:
            if (column != kTitleColumn || !icons_) return {};
            return icons_(row.image, large_);
        default:
            return {};
    }
}

QVariant EntryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (section) {
        case kTitleColumn:
            return ToQt(LoadString(IDS_FIELD_TITLE));
        case kCommentColumn:
            return ToQt(LoadString(IDS_FIELD_COMMENT));
        case kPathColumn:
            return ToQt(LoadString(IDS_COLUMN_PATH));
        default:
            return {};
    }
}

Qt::ItemFlags EntryListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == kTitleColumn ? base | Qt::ItemIsEditable : base;
}

bool EntryListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != kTitleColumn || !rename_) return false;
    rename_(index.row(), value.toString().toStdString());
    return false;
}

}  // namespace kantoria
