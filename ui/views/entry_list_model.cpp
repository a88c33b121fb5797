#include "ui/views/entry_list_model.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <utility>

#include "core/resources/string_table.h"
#include "core/views/entry_list_logic.h"
#include "platform/qt/qt_text.h"

namespace kantoria {
namespace {

// A small disc on the icon's lower right corner: a red one with a cross where the file is
// gone, a grey one with a question mark where the file system did not answer in time.
QIcon WithMark(const QIcon& icon, int size, Presence presence) {
    QPixmap pixmap = icon.pixmap(size, size);
    if (pixmap.isNull()) {
        pixmap = QPixmap(size, size);
        pixmap.fill(Qt::transparent);
    }
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const int disc = size * 9 / 16;
    const QRectF area(size - disc, size - disc, disc, disc);
    const bool missing = presence == Presence::Missing;
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(missing ? QColor(0xd3, 0x2f, 0x2f) : QColor(0x75, 0x75, 0x75));
    painter.drawEllipse(area.adjusted(0.5, 0.5, -0.5, -0.5));
    const qreal inset = disc * 0.3;
    const QRectF inner = area.adjusted(inset, inset, -inset, -inset);
    painter.setPen(QPen(Qt::white, size >= 32 ? 2.5 : 1.5, Qt::SolidLine, Qt::RoundCap));
    if (missing) {
        painter.drawLine(inner.topLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomLeft());
    } else {
        QFont font = painter.font();
        font.setPixelSize(disc - 2);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("?"));
    }
    painter.end();
    return QIcon(pixmap);
}

// A small blue disc with lines of text on the icon's lower left corner: the find took the row
// for what its document says.
void PaintTextMark(QPixmap& pixmap, int size) {
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const int disc = size * 9 / 16;
    const QRectF area(0, size - disc, disc, disc);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(QColor(0x15, 0x65, 0xc0));
    painter.drawEllipse(area.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setPen(QPen(Qt::white, size >= 32 ? 2.0 : 1.0, Qt::SolidLine, Qt::FlatCap));
    const qreal left = area.left() + disc * 0.28, right = area.right() - disc * 0.28;
    for (const qreal at : {0.36, 0.52, 0.68}) {
        const qreal y = area.top() + disc * at;
        painter.drawLine(QPointF(left, y), QPointF(at > 0.6 ? (left + right) / 2 : right, y));
    }
}

}  // namespace

EntryListModel::EntryListModel(QObject* parent) : QAbstractTableModel(parent) {}

void EntryListModel::Reset(std::vector<EntryRef> rows, Encoding encoding) {
    beginResetModel();
    encoding_ = encoding;
    rows_.clear();
    rows_.reserve(rows.size());
    for (const EntryRef e : rows)
        rows_.push_back({e, std::string(e->Title()), CommentColumnText(e->Comment()),
                         std::string(e->Path()), e->ImageIndex()});
    entries_ = std::move(rows);
    endResetModel();
}

void EntryListModel::SetIconLookup(EntryIconLookup lookup) {
    icons_ = std::move(lookup);
    marked_.clear();
}

void EntryListModel::PresenceChanged() {
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1),
                         {Qt::ForegroundRole, Qt::DecorationRole, Qt::AccessibleDescriptionRole});
}

Presence EntryListModel::PresenceOf(const Row& row) const {
    if (!presence_) return Presence::Present;
    const auto found = presence_->find(row.path);
    return found == presence_->end() ? Presence::Present : found->second;
}

const std::string* EntryListModel::SnippetOf(EntryRef entry) const {
    if (foundInText_ == nullptr) return nullptr;
    const auto found = foundInText_->find(entry);
    return found == foundInText_->end() ? nullptr : &found->second;
}

QIcon EntryListModel::Icon(const Row& row) const {
    const Presence presence = PresenceOf(row);
    const bool inText = SnippetOf(row.entry) != nullptr;
    if (presence == Presence::Present && !inText)
        return icons_ ? icons_(row.image, large_) : QIcon();
    const int key = ((row.image * 2 + (large_ ? 1 : 0)) * 3 + static_cast<int>(presence)) * 2 +
                    (inText ? 1 : 0);
    auto found = marked_.find(key);
    if (found == marked_.end()) {
        const int size = large_ ? 32 : 16;
        const QIcon plain = icons_ ? icons_(row.image, large_) : QIcon();
        QIcon marked = presence == Presence::Present ? plain : WithMark(plain, size, presence);
        if (inText) {
            QPixmap pixmap = marked.pixmap(size, size);
            if (pixmap.isNull()) {
                pixmap = QPixmap(size, size);
                pixmap.fill(Qt::transparent);
            }
            PaintTextMark(pixmap, size);
            marked = QIcon(pixmap);
        }
        found = marked_.insert(key, marked);
    }
    return *found;
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
        case Qt::ToolTipRole:
            // A row found in its document shows where: the words in their sentence.
            if (column == kTitleColumn)
                if (const std::string* snippet = SnippetOf(row.entry)) return ToQt(*snippet);
            [[fallthrough]];
        case Qt::DisplayRole:
        case Qt::EditRole:
            return ToDisplayQt(column == kTitleColumn     ? row.title
                               : column == kCommentColumn ? row.comment
                                                          : row.path,
                               encoding_);
        case Qt::DecorationRole:
            if (column != kTitleColumn) return {};
            if (!icons_ && PresenceOf(row) == Presence::Present && !SnippetOf(row.entry)) return {};
            return Icon(row);
        case Qt::AccessibleDescriptionRole:
            // What the grey text and the icon's mark tell the eye.
            switch (PresenceOf(row)) {
                case Presence::Missing:
                    return ToQt(LoadString(IDS_ROW_MISSING));
                case Presence::Unknown:
                    return ToQt(LoadString(IDS_ROW_UNKNOWN));
                case Presence::Present:
                    if (SnippetOf(row.entry)) return ToQt(LoadString(IDS_ROW_FOUND_IN_TEXT));
                    return {};
            }
            return {};
        case Qt::ForegroundRole:
            // Greyed as disabled text is, in every view mode; an unknown file stays black, as
            // it may well be there.
            if (PresenceOf(row) != Presence::Missing) return {};
            return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
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
