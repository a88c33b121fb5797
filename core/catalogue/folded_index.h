// An index of entries by one of their text fields, compared by a key rule (titles without
// regard to case, paths by the path rule): an open-addressing table of (hash, entry) pairs. Entries
// with equal keys simply sit in the same probe sequence. Lookups that miss touch no entry at all,
// which keeps loading and the automatic search fast on large catalogues.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/doc_entry.h"
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
    FoldedIndex(std::string CDocEntry::*field, KeyRule rule) : field_(field), rule_(rule) {}

    // The entry's key must not change while it is in the index.
    void Insert(POSITION entry);
    void Erase(POSITION entry);
    void Clear();
    void Reserve(std::size_t n);
    std::size_t size() const { return size_; }

    // Calls f(entry) for every entry whose key equals key by the index's rule; f answers false
    // to stop.
    template <class F>
    void ForEachMatch(std::string_view key, F f) const {
        if (size_ == 0) return;
        const std::uint64_t hash = rule_.hash(key);
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (!slot.entry) return;
            if (slot.hash == hash && rule_.equal(slot.entry->*field_, key) && !f(slot.entry))
                return;
        }
    }

  private:
    struct Slot {
        std::uint64_t hash = 0;
        POSITION entry = nullptr;
    };

    void Place(Slot slot);
    void Grow(std::size_t capacity);

    std::string CDocEntry::*field_;
    KeyRule rule_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t size_ = 0;
};

}  // namespace kantoria
