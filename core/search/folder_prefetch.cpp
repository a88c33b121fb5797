#include "core/search/folder_prefetch.h"

#include <system_error>

namespace kantoria {
namespace {

// How far the threads may run ahead of the walk, in items listed and not taken yet: enough to
// keep them busy, few enough that a whole disk never sits in memory.
constexpr std::size_t kMaxItemsAhead = 1 << 16;

}  // namespace

FolderPrefetch::FolderPrefetch(ListFolder list, int threads) : list_(std::move(list)) {
    for (int i = 0; i < threads; ++i) {
        try {
            threads_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break;  // fewer threads only make the walk slower
        }
    }
}

FolderPrefetch::~FolderPrefetch() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    workToDo_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

FolderListing FolderPrefetch::Take(const std::string& folder) {
    {
        std::unique_lock lock(mutex_);
        if (const auto found = slots_.find(folder); found != slots_.end()) {
            Slot* slot = &found->second;  // stays put while the table grows
            if (slot->state == State::Queued) {
                // Listed here rather than waited for; the threads pass over it.
                slots_.erase(found);
            } else {
                listed_.wait(lock, [&] { return slot->state == State::Listed; });
                FolderListing listing = std::move(slot->listing);
                slots_.erase(folder);
                const bool wasFull = itemsAhead_ >= kMaxItemsAhead;
                itemsAhead_ -= listing.items.size() + 1;
                if (wasFull && itemsAhead_ < kMaxItemsAhead) workToDo_.notify_all();
                return listing;
            }
        }
    }
    return list_(folder);
}

void FolderPrefetch::Entered(const FolderListing& listing) {
    if (threads_.empty() || listing.childrenQueued) return;
    const std::lock_guard lock(mutex_);
    queuedIds_.insert(listing.id);
    QueueLocked(listing);
}

// Wakes no more threads than there are folders to list: a thread woken for nothing costs two
// switches.
void FolderPrefetch::QueueLocked(const FolderListing& listing) {
    std::size_t queued = 0;
    for (auto item = listing.items.rbegin(); item != listing.items.rend(); ++item) {
        if (item->role == ItemRole::Enter && slots_.try_emplace(item->path).second) {
            queue_.push_back(item->path);
            ++queued;
        }
    }
    if (queued >= threads_.size())
        workToDo_.notify_all();
    else
        for (; queued > 0; --queued) workToDo_.notify_one();
}

void FolderPrefetch::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        workToDo_.wait(
            lock, [&] { return stopping_ || (!queue_.empty() && itemsAhead_ < kMaxItemsAhead); });
        if (stopping_) return;
        const std::string folder = std::move(queue_.back());
        queue_.pop_back();
        const auto found = slots_.find(folder);
        if (found == slots_.end() || found->second.state != State::Queued)
            continue;  // taken by the walk meanwhile
        Slot* slot = &found->second;
        slot->state = State::Listing;
        lock.unlock();
        FolderListing listing = list_(folder);
        lock.lock();
        if (listing.status && queuedIds_.insert(listing.id).second) {
            listing.childrenQueued = true;
            QueueLocked(listing);
        }
        itemsAhead_ += listing.items.size() + 1;
        slot->listing = std::move(listing);
        slot->state = State::Listed;
        listed_.notify_all();
    }
}

}  // namespace kantoria
