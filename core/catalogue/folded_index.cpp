#include "core/catalogue/folded_index.h"

#include <utility>

namespace kantoria {
namespace {

constexpr std::size_t kMinCapacity = 16;

// Capacity for n keys at a load of at most 3/4; always a power of two.
std::size_t CapacityFor(std::size_t n) {
    std::size_t capacity = kMinCapacity;
    while (capacity - capacity / 4 <= n) capacity *= 2;
    return capacity;
}

}  // namespace

std::size_t FoldedIndex::Find(std::string_view key, std::uint64_t hash) const {
    if (keys_ == 0) return kNone;
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
        const Slot& slot = slots_[i];
        if (!slot.head) return kNone;
        if (slot.hash == hash && rule_.equal((slot.head->*field_)(), key)) return i;
    }
}

void FoldedIndex::Insert(EntryRef entry) {
    const std::uint64_t hash = rule_.hash((entry->*field_)());
    const std::size_t i = Find((entry->*field_)(), hash);
    IndexLink& link = LinkOf(entry);
    ++size_;
    if (i == kNone) return AddKey(entry, hash);

    EntryRef head = slots_[i].head;
    EntryRef tail = LinkOf(head).prev;
    const std::uint64_t id = entry->Id();
    // Entries are appended in Id order, so the walk happens only when an older entry takes
    // a key anew (its title was edited).
    EntryRef before = tail;
    while (before != head && before->Id() > id) before = LinkOf(before).prev;
    if (before->Id() > id) {  // the new first entry
        link = {tail, head};
        LinkOf(head).prev = entry;
        slots_[i].head = entry;
    } else {
        IndexLink& beforeLink = LinkOf(before);
        link = {before, beforeLink.next};
        if (beforeLink.next)
            LinkOf(beforeLink.next).prev = entry;
        else
            LinkOf(head).prev = entry;  // the new last entry
        beforeLink.next = entry;
    }
}

void FoldedIndex::AddKey(EntryRef entry, std::uint64_t hash) {
    if (slots_.empty() || keys_ + 1 > slots_.size() - slots_.size() / 4)
        Grow(CapacityFor(keys_ + 1));
    LinkOf(entry) = {entry, nullptr};
    Place({hash, entry});
    ++keys_;
}

void FoldedIndex::Place(Slot slot) {
    std::size_t i = slot.hash & mask_;
    while (slots_[i].head) i = (i + 1) & mask_;
    slots_[i] = slot;
}

void FoldedIndex::Erase(EntryRef entry) {
    IndexLink& link = LinkOf(entry);
    if (!link.prev) return;  // not indexed
    const std::size_t i = Find((entry->*field_)());
    if (i == kNone) return;
    EntryRef head = slots_[i].head;
    if (entry == head) {
        if (link.next) {
            LinkOf(link.next).prev = link.prev;
            slots_[i].head = link.next;
        } else {
            RemoveSlot(i);
        }
    } else {
        LinkOf(link.prev).next = link.next;
        if (link.next)
            LinkOf(link.next).prev = link.prev;
        else
            LinkOf(head).prev = link.prev;
    }
    link = {};
    --size_;
}

void FoldedIndex::RemoveSlot(std::size_t i) {
    // Backward shift: pull later members of the probe run into the hole so that every
    // remaining key stays reachable from its home slot without tombstones.
    std::size_t hole = i;
    for (std::size_t j = (i + 1) & mask_; slots_[j].head; j = (j + 1) & mask_) {
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
    --keys_;
}

void FoldedIndex::Clear() {
    slots_.clear();
    slots_.shrink_to_fit();
    mask_ = 0;
    keys_ = 0;
    size_ = 0;
}

void FoldedIndex::Reserve(std::size_t n) {
    if (n > keys_ && CapacityFor(n) > slots_.size()) Grow(CapacityFor(n));
}

void FoldedIndex::Grow(std::size_t capacity) {
    std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(capacity));
    mask_ = capacity - 1;
    for (const Slot& slot : old)
        if (slot.head) Place(slot);
}

}  // namespace kantoria
