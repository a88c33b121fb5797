#include "core/search/folder_prefetch.h"

#include <system_error>

namespace kantoria {
namespace {

// How far the threads may run ahead of the walk, in items listed and not taken yet: enough to
// keep them busy, few enough that a whole disk never sits in memory. Once that far ahead they
// rest until the walk has taken half of it, rather than wake for every folder it takes.
constexpr std::size_t kMaxItemsAhead = 1 << 14;

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
            Slot& slot = found->second;
            if (slot.state == State::Listed) {
                FolderListing listing = std::move(slot.listing);
                slots_.erase(found);
                itemsAhead_ -= listing.items.size() + 1;
                if (resting_ && itemsAhead_ < kMaxItemsAhead / 2) {
                    resting_ = false;
                    workToDo_.notify_all();
                }
                return listing;
            }
            // Not listed yet: listed here rather than waited for, since on a busy machine the
            // thread at it may not run again for a while. The threads drop their copy.
            if (slot.state == State::Queued)
                slots_.erase(found);
            else
                slot.state = State::Dropped;
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
        workToDo_.wait(lock, [&] { return stopping_ || (!queue_.empty() && !resting_); });
        if (stopping_) return;
        const std::string folder = std::move(queue_.back());
        queue_.pop_back();
        const auto found = slots_.find(folder);
        if (found == slots_.end() || found->second.state != State::Queued)
            continue;                 // taken by the walk meanwhile
        Slot* slot = &found->second;  // stays put while the table grows
        slot->state = State::Listing;
        lock.unlock();
        FolderListing listing = list_(folder);
        lock.lock();
        if (listing.status && queuedIds_.insert(listing.id).second) {
            listing.childrenQueued = true;
            QueueLocked(listing);
        }
        if (slot->state == State::Dropped) {
            slots_.erase(folder);
            continue;
        }
        itemsAhead_ += listing.items.size() + 1;
        if (itemsAhead_ >= kMaxItemsAhead) resting_ = true;
        slot->listing = std::move(listing);
        slot->state = State::Listed;
    }
}

}  // namespace kantoria
