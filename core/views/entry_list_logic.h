// The entry list as the right pane shows it, decided without a window: which entries a holder
// lists and in which order, the comment column's text, which item a refill selects again and
// the rules of renaming a title in place.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/views/holder_tree_logic.h"

namespace kantoria {

// The entries whose folder (drive and directory) equals folder without regard to case, in
// ascending title order (DisplayOrderKey); equal titles keep catalogue order.
std::vector<EntryRef> EntriesOfFolder(const EntryList& entries, std::string_view folder);
// The same from the document's holder index while it is up to date.
std::vector<EntryRef> EntriesOfFolder(const Catalogue& doc, std::string_view folder);

// The entries of the holder that the tree shows as selected; none when no holder is.
std::vector<EntryRef> ListedEntries(const Catalogue& doc);
// The same with the holder tree kept in trees between calls.
std::vector<EntryRef> ListedEntries(const Catalogue& doc, HolderTreeCache& trees);

// An order the user picks for the report by a click on a column's heading.
struct EntrySortKey {
    enum class Column { Title, Comment, Path };
    Column column = Column::Title;
    bool descending = false;
    bool operator==(const EntrySortKey&) const = default;
};

// rows sorted by the column's text as the list shows it, compared as titles are
// (DisplayOrderKey); rows with equal text keep their order, descending too.
void SortEntries(std::vector<EntryRef>& rows, EntrySortKey key);

// The comment as one line: every CR and every LF becomes one space.
std::string CommentColumnText(std::string_view comment);

// The row whose title equals selected exactly; of several, the last. -1 when none.
int RowToSelect(const std::vector<EntryRef>& rows, std::string_view selected);

enum class RenameOutcome {
    Unchanged,  // nothing to do: no old title, no new one, or the same one
    Renamed,    // the entry bears the new title, and it is the selected title
    Refused,    // the new title holds TAB, CR or LF; nothing changed
};

// Renames entry in place from editTitle, the item's label when editing began, to newTitle, the
// text the editor handed back (see TextFromScreen: handing back the label as it was shown keeps
// the original bytes).
RenameOutcome RenameEntry(Catalogue& doc, EntryRef entry, std::string_view editTitle,
                          std::string_view newTitle);

}  // namespace kantoria
