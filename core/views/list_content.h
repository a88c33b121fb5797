// What the entry list shows, as one value the list is told to show: the entries of the holder
// the tree shows, the entries a find picks from the whole catalogue, the entries whose file
// is known to be gone, or those whose document's text could not be read. The catalogue knows
// nothing of it: it is the list's own state.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/content/document_words.h"
#include "core/views/entry_find.h"
#include "core/views/holder_tree_logic.h"

namespace kantoria {

struct ListContent {
    enum class Kind { Holder, Find, Missing, Unreadable };
    Kind kind = Kind::Holder;
    std::string findText;  // for a find: the words as the user typed them

    bool ShowsHolder() const { return kind == Kind::Holder; }
    bool operator==(const ListContent&) const = default;
};

// The rows of a content, in the list's order, kept cheap across refreshes: the holder tree is
// built again only when the holders change, the find keys only when the entries do.
class ListRows {
  public:
    // Whether an entry's file is known to be gone.
    using IsMissing = std::function<bool(const Entry&)>;

    explicit ListRows(std::size_t sortHitsUpTo = 20000) : findIndex_(sortHitsUpTo) {}

    // Asked again on every refresh, so an entry added, pasted or edited meanwhile shows exactly
    // when it qualifies. Shows the selected holder's entries for a holder, none when no holder
    // is shown.
    std::vector<EntryRef> Rows(const Catalogue& doc, const ListContent& content,
                               const IsMissing& missing);
    // What the status bar says while the list shows count rows of a find or of the missing
    // files (stillLooking: the files are still being looked at); empty for a holder.
    std::string Status(const ListContent& content, std::size_t count, bool stillLooking) const;

    HolderTreeCache& Trees() { return trees_; }

    // What the documents' text adds to a find that has the same text; none: the find reads
    // titles, comments and paths only. textPartial: the index is still being built, so the
    // status bar says that more may be found.
    void SetDocumentWords(std::shared_ptr<const DocumentWords> words, bool textPartial);
    const DocumentWords* Documents() const { return documents_.get(); }
    // The same answer again with the snippets it lacked: the rows shown keep their place and
    // only gain their snippets. Ignored unless it answers the same text.
    void FillSnippets(std::shared_ptr<const DocumentWords> words);
    // The rows of the last find that their documents' text let in, with a snippet.
    const FoundInText& FoundInTextRows() const { return foundInText_; }
    // The documents whose text could not be read, with why (by DocumentPath).
    void SetUnreadable(std::unordered_map<std::string, std::string> unreadable) {
        unreadable_ = std::move(unreadable);
    }
    const std::unordered_map<std::string, std::string>& Unreadable() const { return unreadable_; }

  private:
    HolderTreeCache trees_;
    FindIndex findIndex_;
    std::shared_ptr<const DocumentWords> documents_;
    bool textPartial_ = false;
    FoundInText foundInText_;
    std::unordered_map<std::string, std::string> unreadable_;
};

}  // namespace kantoria
