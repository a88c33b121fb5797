// Finding entries anywhere in the catalogue by words of their title, comment or path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/content/document_words.h"

namespace kantoria {

// Entries in the order the list shows a holder's entries: ascending title order
// (DisplayOrderKey), equal titles in catalogue order.
std::vector<EntryRef> InListOrder(std::vector<EntryRef> entries);

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
    // The same, where a word may also stand in an entry's document (documents answers the
    // same words); the rows that only their documents let in go to foundInText too.
    std::vector<EntryRef> FindInListOrder(const std::vector<std::string>& words,
                                          const DocumentWords& documents, FoundInText& foundInText);

    // Gives the rows of the last such find that came without a snippet the one documents now
    // has (the same answer with its snippets filled in); the rows themselves stay.
    void FillSnippets(const std::vector<std::string>& words, const DocumentWords& documents,
                      FoundInText& foundInText) const;

    std::size_t size() const { return entries_.size(); }

  private:
    std::vector<std::uint32_t> Matching(const std::vector<std::string>& words) const;
    void AddFoundInText(const std::vector<std::string>& words, const DocumentWords& documents,
                        std::vector<std::uint32_t>& hits, FoundInText& foundInText);
    const std::string* TextOnlySnippet(std::uint32_t i, const std::string& document,
                                       const std::vector<std::string>& words,
                                       const DocumentWords& documents) const;
    std::vector<EntryRef> InOrder(std::vector<std::uint32_t> hits);
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
    // The entries of each document, by the path the content index knows it by, once asked.
    std::unordered_map<std::string, std::vector<std::uint32_t>> byDocument_;
};

// The entries of entries that text finds, in catalogue order (no index kept).
std::vector<EntryRef> FindEntries(const EntryList& entries, Encoding enc, std::string_view text);

}  // namespace kantoria
