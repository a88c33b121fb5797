// An index of entries by one of their text fields, compared by a key rule (titles without
// regard to case, paths by the path rule): an open-addressing table with one slot per distinct
// key, each holding the list of the entries with that key in Id order, linked through the
// entries themselves. Every operation touches one probe run of distinct keys, never the other
// entries that share the key, so a catalogue in which every entry has the same title (or no
// path at all) loads as fast as any other. Lookups that miss touch no entry at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/entry.h"
#include "core/text/path_identity.h"
#include "core/text/text_fold.h"

namespace kantoria {

// How an index compares its keys; hash must agree with equal.
struct KeyRule {
    std::uint64_t (*hash)(std::string_view);
    bool (*equal)(std::string_view, std::string_view);
};
inline constexpr KeyRule kNoCaseKeys{&HashNoCase, &EqualsNoCase};
inline constexpr KeyRule kPathKeys{&HashPath, &SamePath};

class FoldedIndex {
  public:
    // link chooses which of the entry's IndexLinks this index uses: two indexes that hold the
    // same entries need different ones.
    FoldedIndex(std::string_view (Entry::*field)() const, KeyRule rule, int link = 0)
        : field_(field), rule_(rule), link_(link) {}

    // The entry's key must not change while it is in the index. Appending an entry whose Id
    // is the largest of its key takes constant time; an older entry is placed by a walk back
    // from the newest.
    void Insert(EntryRef entry);
    // Does nothing for an entry that is not in the index.
    void Erase(EntryRef entry);
    // Forgets every entry; the entries' links are rewritten when they are inserted again.
    void Clear();
    // Prepares the table for about n distinct keys.
    void Reserve(std::size_t n);
    std::size_t size() const { return size_; }

    // The entry with the smallest Id whose key equals key by the index's rule, or null.
    EntryRef First(std::string_view key) const {
        const std::size_t i = Find(key);
        return i == kNone ? nullptr : slots_[i].head;
    }

    // Calls f(entry) for every entry whose key equals key by the index's rule, in Id order;
    // f answers false to stop.
    template <class F>
    void ForEachMatch(std::string_view key, F f) const {
        const std::size_t i = Find(key);
        if (i == kNone) return;
        for (const Entry* e = slots_[i].head; e; e = e->links_[link_].next)
            if (!f(e)) return;
    }

  private:
    static constexpr std::size_t kNone = ~std::size_t{0};

    struct Slot {
        std::uint64_t hash = 0;
        EntryRef head = nullptr;  // null: the slot is free
    };

    IndexLink& LinkOf(EntryRef entry) const { return entry->links_[link_]; }
    // The slot of key, or kNone.
    std::size_t Find(std::string_view key) const { return Find(key, rule_.hash(key)); }
    std::size_t Find(std::string_view key, std::uint64_t hash) const;
    void AddKey(EntryRef entry, std::uint64_t hash);
    void RemoveSlot(std::size_t i);
    void Place(Slot slot);
    void Grow(std::size_t capacity);

    std::string_view (Entry::*field_)() const;
    KeyRule rule_;
    int link_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t keys_ = 0;  // occupied slots
    std::size_t size_ = 0;  // entries
};

}  // namespace kantoria
