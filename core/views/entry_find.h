// Finding entries anywhere in the catalogue by words of their title, comment or path, and the
// chosen sets the entry list can show in place of a holder's entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/catalogue.h"

namespace kantoria {

// A set of entries from anywhere in the catalogue that the entry list shows instead of the
// shown holder's entries. Set one as Catalogue::m_pShownChoice and update the views: the list
// shows what pick answers, the tree shows no holder as current, the selected title (SELECTED)
// follows the list as ever and the clicked holder (LASTHOLDER) stays as it was. A click on a
// holder, or resetting the member, goes back to the holder's entries.
struct EntryChoice {
    // The entries to show, in the list's order (InListOrder). Asked again on every refresh of
    // the list, so an entry added, pasted or edited meanwhile shows exactly when it qualifies.
    std::function<std::vector<EntryRef>(const Catalogue& doc)> pick;
    // What the status bar says while the list shows count picked entries.
    std::function<std::string(std::size_t count)> status;
};

// Entries in the order the list shows a holder's entries: ascending title order
// (DisplayOrderKey), equal titles in catalogue order.
std::vector<EntryRef> InListOrder(std::vector<EntryRef> entries);

// A choice of every entry for which keep answers true.
EntryChoice ChooseEntriesWhere(std::function<bool(const Entry&)> keep,
                               std::function<std::string(std::size_t count)> status);

// The folded text of every entry, kept so that a find costs one pass over the keys: built on
// the first find after the entries changed (EntryList::Revision), not on every keystroke; after
// appends alone only the new entries' keys are added. An
// entry's key is its title, comment and path as the user sees them (ToDisplayText), folded by
// FoldForFind and separated by a control character, which no word holds.
class FindIndex {
  public:
    // Up to sortHitsUpTo hits are put in the list's order by themselves; more through the
    // order of all entries, which is kept until they change.
    explicit FindIndex(std::size_t sortHitsUpTo = 20000) : sortHitsUpTo_(sortHitsUpTo) {}

    // Brings the keys up to date with entries; does nothing while they are unchanged.
    void Update(const EntryList& entries, Encoding enc);

    // The entries whose key holds every word (FindWords; they may lie in different fields), in
    // catalogue order. No words match nothing.
    std::vector<EntryRef> Find(const std::vector<std::string>& words) const;
    // The same in the list's order.
    std::vector<EntryRef> FindInListOrder(const std::vector<std::string>& words);

    std::size_t size() const { return entries_.size(); }

  private:
    std::vector<std::uint32_t> Matching(const std::vector<std::string>& words) const;
    void AppendKeys(EntryList::const_iterator first, EntryList::const_iterator last, Encoding enc);

    std::size_t sortHitsUpTo_;
    const EntryList* list_ = nullptr;
    std::uint64_t revision_ = 0;
    std::uint64_t rewrite_ = 0;  // the entries' RewriteRevision when the keys were built whole
    Encoding encoding_ = Encoding::Cp932;
    std::string keys_;                  // every entry's key, in catalogue order
    std::vector<std::size_t> starts_;   // where each key begins; one more marks the end
    std::vector<EntryRef> entries_;     // the entry of each key
    std::vector<std::uint32_t> order_;  // the entries in the list's order, once asked
};

// The entries of entries that text finds, in catalogue order (no index kept).
std::vector<EntryRef> FindEntries(const EntryList& entries, Encoding enc, std::string_view text);

// The find field's choice: the entries text finds, kept up to date through index (shared, so
// typing more reuses the keys). The status tells how many were found.
EntryChoice FindChoice(std::string_view text, std::shared_ptr<FindIndex> index);

}  // namespace kantoria
