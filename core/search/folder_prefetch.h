// Folders listed ahead of the automatic search's walk by a few threads, handed to the walk in
// whatever order it asks for them.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/base/status.h"
#include "core/os/folder_lister.h"

namespace kantoria {

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const {
        return std::hash<std::uint64_t>{}(id.device * 0x9E3779B97F4A7C15ull ^ id.inode);
    }
};

// What the walk does with an item, decided where its folder is listed.
enum class ItemRole : std::uint8_t {
    Enter,       // a subfolder the walk goes into
    PassOver,    // a subfolder it does not go into
    Register,    // a file to register unless the catalogue holds it
    Unwanted,    // a file the search does not take (its extension)
    Unstorable,  // a file whose path the catalogue cannot hold
    OwnFile,     // the catalogue itself, or a file its saves make beside it
};

struct ListedItem {
    std::string path;   // the folder and the item's name
    std::string title;  // Register: the title the name gives, before any number
    ItemRole role = ItemRole::PassOver;
};

// One folder as the walk sees it.
struct FolderListing {
    Status status = Status::Ok();
    FolderId id;
    std::vector<ListedItem> items;  // in the walk's order
    bool childrenQueued = false;    // the subfolders are being listed ahead already
};

// Lists one folder; called from several threads at once.
using ListFolder = std::function<FolderListing(const std::string& folder)>;

class FolderPrefetch {
  public:
    // With no threads, Take lists every folder itself.
    FolderPrefetch(ListFolder list, int threads);
    // Waits for the listings under way.
    ~FolderPrefetch();
    FolderPrefetch(const FolderPrefetch&) = delete;
    FolderPrefetch& operator=(const FolderPrefetch&) = delete;

    // The listing of folder: the one listed ahead, or else one listed here on the calling
    // thread (the walk never waits for the threads).
    FolderListing Take(const std::string& folder);
    // Has the subfolders of a folder the walk enters listed ahead, when that is not under way.
    void Entered(const FolderListing& listing);

  private:
    enum class State { Queued, Listing, Dropped, Listed };
    struct Slot {
        State state = State::Queued;
        FolderListing listing;
    };

    void Work();
    void QueueLocked(const FolderListing& listing);

    ListFolder list_;
    std::mutex mutex_;
    std::condition_variable workToDo_;
    // Deepest last: the threads work along the walk's own order, just ahead of it.
    std::vector<std::string> queue_;
    std::unordered_map<std::string, Slot> slots_;
    // Real folders whose subfolders are queued, so that links cannot make the threads loop.
    std::unordered_set<FolderId, FolderIdHash> queuedIds_;
    std::size_t itemsAhead_ = 0;  // items listed and not taken yet
    bool resting_ = false;        // far enough ahead: the threads wait for the walk
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace kantoria
