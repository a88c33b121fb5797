// The document's entries in catalogue order, with indexes by title (compared without regard to
// case) and by path (compared by the path rule, core/text/path_identity.h). Lookups answer exactly
// what a walk from the head would answer, but cost the same however many entries share the key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/entry.h"
#include "core/catalogue/folded_index.h"

namespace kantoria {

class EntryChange;

// An entry's texts and Id with its place: enough to take it out and put it back as it was.
struct PlacedEntry {
    std::size_t position;  // its place in catalogue order while it stands in the list
    std::uint64_t id;
    std::string path, title, comment;
};

class EntryList {
  public:
    using const_iterator = std::list<Entry>::const_iterator;

    EntryList() = default;
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;

    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    // Appends at the tail and answers the new entry.
    EntryRef Append(std::string_view path, std::string_view title, std::string_view comment);
    void Remove(EntryRef entry);
    // Removes every entry of entries (each at most once) in one walk over the catalogue and
    // answers them in catalogue order with their former places.
    std::vector<PlacedEntry> RemoveMany(const std::vector<EntryRef>& entries);
    // The same for the entries with these Ids; an Id no entry bears is passed over.
    std::vector<PlacedEntry> RemoveIds(const std::vector<std::uint64_t>& ids);
    // Puts entries back where they stood, with their Ids, in one walk: entries in ascending
    // order of place, each place counted in the list as it is once all of them are back (as
    // RemoveMany answers them).
    void Restore(const std::vector<PlacedEntry>& entries);
    void Clear();
    // Prepares the indexes for about n entries.
    void Reserve(std::size_t n);

    void SetTitle(EntryRef entry, std::string_view title);
    void SetComment(EntryRef entry, std::string_view comment);
    // Moves the entry to another path (a relocated folder); it keeps its place and Id.
    void SetPath(EntryRef entry, std::string_view path);
    void SetImage(EntryRef entry, int image);

    // First entry whose title equals title without regard to case, or null.
    EntryRef FindByTitle(std::string_view title) const;
    // Whether some entry's title equals title byte for byte. Walks the entries whose title
    // equals it without regard to case, up to the first exact one.
    bool TitleExists(std::string_view title) const;
    // First entry whose path is the same path (SamePath), or null.
    EntryRef FindByPath(std::string_view path) const;
    // The entry with this Id, or null. Linear: for tests and rare lookups only.
    EntryRef FindById(std::uint64_t id) const;

    // Changes with every change to the entries' paths, titles, comments or number, so that a
    // change can be told from none by comparing two readings.
    std::uint64_t Revision() const { return revision_; }
    // Changes only when an entry comes or goes or changes its path: what is kept about which
    // entries lie in which folder stays right while it stands (titles and comments may change).
    std::uint64_t PathsRevision() const { return pathsRevision_; }
    // Changes with every change PathsRevision counts but an append: while it stands, the
    // entries counted before are still the first ones, in their order and folders.
    std::uint64_t ReshapeRevision() const { return reshapeRevision_; }
    // Changes with every change Revision counts but an append: while it stands, the entries
    // counted before are still the first ones, with their texts.
    std::uint64_t RewriteRevision() const { return rewriteRevision_; }
    // Changes only when every entry is dropped at once (another catalogue is read, or none),
    // so that what a view keeps about this catalogue can be told to be stale.
    std::uint64_t Generation() const { return generation_; }

  private:
    friend class EntryChangeRecorder;

    Entry& Mutable(EntryRef entry) { return *entry->self_; }

    std::list<Entry> entries_;
    FoldedIndex byTitle_{&Entry::Title, kNoCaseKeys, 0};
    FoldedIndex byPath_{&Entry::Path, kPathKeys, 1};
    std::uint64_t nextId_ = 1;
    std::uint64_t revision_ = 0;
    std::uint64_t pathsRevision_ = 0;
    std::uint64_t reshapeRevision_ = 0;
    std::uint64_t rewriteRevision_ = 0;
    std::uint64_t generation_ = 0;
    EntryChange* journal_ = nullptr;  // while set, every change to the entries is written here
};

}  // namespace kantoria
