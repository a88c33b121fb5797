#include "core/views/entry_list_logic.h"

#include <algorithm>
#include <utility>

#include "core/catalogue/storable_field.h"
#include "core/text/entered_text.h"
#include "core/text/path_identity.h"
#include "core/text/path_split.h"
#include "core/text/text_codec.h"
#include "core/text/text_fold.h"
#include "core/views/entry_find.h"
#include "core/views/holder_tree_logic.h"
#include "core/views/shown_holder.h"

namespace kantoria {

namespace {

// Keys are computed once, so sorting compares plain bytes.
std::vector<EntryRef> InTitleOrder(std::vector<std::pair<std::string, EntryRef>> keyed) {
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<EntryRef> rows;
    rows.reserve(keyed.size());
    for (const auto& [key, entry] : keyed) rows.push_back(entry);
    return rows;
}

}  // namespace

std::vector<EntryRef> EntriesOfFolder(const EntryList& entries, std::string_view folder) {
    std::vector<std::pair<std::string, EntryRef>> keyed;
    for (const Entry& entry : entries)
        if (SamePath(FolderOf(entry.Path()), folder))
            keyed.emplace_back(DisplayOrderKey(entry.Title()), &entry);
    return InTitleOrder(std::move(keyed));
}

// A holder's click costs the size of the holder while the holders are up to date.
std::vector<EntryRef> EntriesOfFolder(const Catalogue& doc, std::string_view folder) {
    const std::vector<EntryRef>* indexed = doc.EntriesOfHolder(folder);
    if (indexed == nullptr) return EntriesOfFolder(doc.Entries(), folder);
    std::vector<std::pair<std::string, EntryRef>> keyed;
    keyed.reserve(indexed->size());
    for (const EntryRef entry : *indexed)
        keyed.emplace_back(DisplayOrderKey(entry->Title()), entry);
    return InTitleOrder(std::move(keyed));
}

std::vector<EntryRef> ListedEntries(const Catalogue& doc) {
    HolderTreeCache trees;
    return ListedEntries(doc, trees);
}

std::vector<EntryRef> ListedEntries(const Catalogue& doc, HolderTreeCache& trees) {
    const HolderTree& tree = trees.TreeOf(doc.Holders(), doc.HoldersRevision());
    const int shown = ShownHolder(tree, doc);
    if (shown == kNoHolderNode) return {};
    return EntriesOfFolder(doc, tree.node(shown).folder);
}

void SortEntries(std::vector<EntryRef>& rows, EntrySortKey key) {
    const auto text = [&key](EntryRef e) -> std::string {
        switch (key.column) {
            case EntrySortKey::Column::Comment:
                return CommentColumnText(e->Comment());
            case EntrySortKey::Column::Path:
                return std::string(e->Path());
            case EntrySortKey::Column::Title:
                break;
        }
        return std::string(e->Title());
    };
    std::vector<std::pair<std::string, EntryRef>> keyed;
    keyed.reserve(rows.size());
    for (const EntryRef e : rows) keyed.emplace_back(DisplayOrderKey(text(e)), e);
    std::stable_sort(keyed.begin(), keyed.end(), [&key](const auto& a, const auto& b) {
        return key.descending ? b.first < a.first : a.first < b.first;
    });
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = keyed[i].second;
}

std::string CommentColumnText(std::string_view comment) {
    std::string line(comment);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

int RowToSelect(const std::vector<EntryRef>& rows, std::string_view selected) {
    for (std::size_t i = rows.size(); i-- > 0;)
        if (rows[i]->Title() == selected) return static_cast<int>(i);
    return -1;
}

RenameOutcome RenameEntry(Catalogue& doc, EntryRef entry, std::string_view editTitle,
                          std::string_view newTitle) {
    if (!entry || editTitle.empty() || newTitle.empty()) return RenameOutcome::Unchanged;
    std::string title = TextFromScreen(newTitle, editTitle, doc.FileEncoding());
    if (title == editTitle) return RenameOutcome::Unchanged;
    if (!IsStorableField(title)) return RenameOutcome::Refused;
    doc.SetSelectedTitle(title);
    doc.Entries().SetTitle(entry, std::move(title));
    return RenameOutcome::Renamed;
}

}  // namespace kantoria
