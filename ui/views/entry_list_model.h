// The entries of the shown holder as a Qt item model: three columns (title, comment, path),
// one row per entry in display order. Rows carry the entry they show, so a command acts on the
// entry the user picked. The model is replaced whole on every refresh.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/catalogue/entry.h"
#include "core/content/document_words.h"
#include "core/os/path_probe.h"
#include "core/text/text_codec.h"
#include "core/views/presence_tracker.h"

namespace kantoria {

// The picture of a file type by its image index, large (32 x 32) or small (16 x 16).
using EntryIconLookup = std::function<QIcon(int image, bool large)>;

class EntryListModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { kTitleColumn = 0, kCommentColumn = 1, kPathColumn = 2, kColumnCount = 3 };

    // Asked when the user ends editing a title: the row and the text typed.
    using RenameHandler = std::function<void(int row, const std::string& text)>;

    explicit EntryListModel(QObject* parent = nullptr);

    // encoding is the catalogue's, which decides how its text shows.
    void Reset(std::vector<EntryRef> rows, Encoding encoding);
    EntryRef EntryAt(int row) const { return rows_[static_cast<std::size_t>(row)].entry; }
    // The title the row shows, as it was when the list was filled.
    const std::string& TitleAt(int row) const { return rows_[static_cast<std::size_t>(row)].title; }
    const std::vector<EntryRef>& Entries() const { return entries_; }

    void SetIconLookup(EntryIconLookup lookup);
    // Where the rows learn whether their file is there; known must outlive the model.
    void SetPresence(const PresenceMap* known) { presence_ = known; }
    // The presence map changed: missing rows grey, and their icons take a mark.
    void PresenceChanged();
    // The rows a find took for their documents' text, with a snippet: their icons take a mark
    // and their titles the snippet as tooltip; found must outlive the model.
    void SetFoundInText(const FoundInText* found) { foundInText_ = found; }
    // The snippet of the row's document when the find took it for its text; else null.
    const std::string* SnippetOf(EntryRef entry) const;
    void SetLargeIcons(bool large);
    void SetRenameHandler(RenameHandler handler) { rename_ = std::move(handler); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Hands the typed title to the rename handler and declines the change itself: a rename
    // reaches the screen through the refresh that follows it.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  private:
    // What the list shows of one entry, taken when the list was filled.
    struct Row {
        EntryRef entry;
        std::string title;
        std::string comment;  // as the comment column shows it
        std::string path;
        int image;
    };

    Presence PresenceOf(const Row& row) const;
    QIcon Icon(const Row& row) const;

    std::vector<Row> rows_;
    Encoding encoding_ = Encoding::Cp932;
    std::vector<EntryRef> entries_;
    EntryIconLookup icons_;
    RenameHandler rename_;
    bool large_ = false;
    const PresenceMap* presence_ = nullptr;
    const FoundInText* foundInText_ = nullptr;
    mutable QHash<int, QIcon> marked_;  // icons with marks, by image, size, presence and text
};

}  // namespace kantoria
