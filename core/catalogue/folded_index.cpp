#include "core/catalogue/folded_index.h"

#include <utility>

namespace kantoria {
namespace {

constexpr std::size_t kMinCapacity = 16;

// Capacity for n entries at a load of at most 3/4; always a power of two.
std::size_t CapacityFor(std::size_t n) {
    std::size_t capacity = kMinCapacity;
    while (capacity - capacity / 4 <= n) capacity *= 2;
    return capacity;
}

}  // namespace

void FoldedIndex::Insert(POSITION entry) {
    if (slots_.empty() || size_ + 1 > slots_.size() - slots_.size() / 4)
        Grow(CapacityFor(size_ + 1));
    Place({rule_.hash(entry->*field_), entry});
    ++size_;
}

void FoldedIndex::Place(Slot slot) {
    std::size_t i = slot.hash & mask_;
    while (slots_[i].entry) i = (i + 1) & mask_;
    slots_[i] = slot;
}

void FoldedIndex::Erase(POSITION entry) {
    if (size_ == 0) return;
    const std::uint64_t hash = rule_.hash(entry->*field_);
    std::size_t i = hash & mask_;
    while (slots_[i].entry != entry) {
        if (!slots_[i].entry) return;  // not indexed
        i = (i + 1) & mask_;
    }
    // Backward shift: pull later members of the probe run into the hole so that every
    // remaining entry stays reachable from its home slot without tombstones.
    std::size_t hole = i;
    for (std::size_t j = (i + 1) & mask_; slots_[j].entry; j = (j + 1) & mask_) {
        const std::size_t home = slots_[j].hash & mask_;
        // Move j into the hole unless its home lies cyclically in (hole, j].
        const bool homeAfterHole =
            hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (!homeAfterHole) {
            slots_[hole] = slots_[j];
            hole = j;
        }
    }
    slots_[hole] = Slot();
    --size_;
}

void FoldedIndex::Clear() {
    slots_.clear();
    slots_.shrink_to_fit();
    mask_ = 0;
    size_ = 0;
}

void FoldedIndex::Reserve(std::size_t n) {
    if (n > size_ && CapacityFor(n) > slots_.size()) Grow(CapacityFor(n));
}

void FoldedIndex::Grow(std::size_t capacity) {
    std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(capacity));
    mask_ = capacity - 1;
    for (const Slot& slot : old)
        if (slot.entry) Place(slot);
}

}  // namespace kantoria
