// The automatic search: walks a folder (and, when asked, its subfolders) and appends an entry
// for every file that is not registered yet, titled after its name.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/unique_title.h"
#include "core/os/folder_lister.h"
#include "core/os/mount_table.h"
#include "core/text/text_fold.h"

namespace kantoria {

struct FolderListing;
class FolderPrefetch;
struct ListedItem;

inline constexpr std::string_view kAutoSearchComment = "自動検索";

struct SearchProgress {
    std::size_t foldersVisited = 0;
    std::size_t filesVisited = 0;
    std::size_t found = 0;
    std::string currentFolder;
};

// What the caller decides about a folder that cannot be listed.
enum class UnlistableFolder { Skip, Stop };

// The caller's side of a running search.
class SearchListener {
  public:
    virtual ~SearchListener() = default;
    // Called now and then (a few times a second at most); answer false to cancel the search.
    virtual bool OnProgress(const SearchProgress& progress) = 0;
    virtual UnlistableFolder OnUnlistableFolder(const std::string& folder, const Status& why) = 0;
};

struct SkippedFolder {
    std::string folder;
    Status why;
};

enum class SearchStatus {
    Completed,  // walked to the end (unlistable folders the caller chose to skip aside)
    Stopped,    // the caller chose to stop at an unlistable folder
    Cancelled,  // the caller cancelled from the progress report
};

class AutoSearch {
  public:
    AutoSearch(Catalogue& doc, FolderLister& lister) : doc_(&doc), lister_(lister) {}

    bool subFolders = true;  // walk the subfolders too
    bool useExt = false;     // take only files whose extension is extension
    std::string extension;   // with its leading dot, as ".doc"
    // The catalogue's own file, when it has one: neither it nor the files its saves make
    // beside it are registered.
    std::string catalogue;
    // Threads that list folders ahead of the walk. Entries, their order and the questions asked
    // do not depend on it; with none, each folder is listed when the walk reaches it.
    int listingThreads = 2;
    // The mounts the walk judges folders by; unset: the system's, read as each search starts.
    std::optional<MountTable> mounts;
    // How often progress is reported at most.
    std::chrono::milliseconds progressInterval{200};

    // Runs one search from folder. A search that is stopped or cancelled takes its entries
    // back out. The listener may be null: unlistable folders are then skipped.
    SearchStatus ScanFolder(const std::string& folder, SearchListener* listener);
    // Filters one found file and appends an entry for it when it passes.
    void AddFoundFile(std::string path);
    // Removes the entries that the latest search appended.
    void TakeBack();

    // Entries appended by the latest search.
    int found = 0;
    // Files found but not registered because their path cannot be stored in the catalogue.
    std::vector<std::string> skipped;
    // Folders that could not be listed and were skipped.
    std::vector<SkippedFolder> unlistable;

  private:
    class WalkBounds;

    // Clears what the previous search left and learns where the catalogue's own files lie.
    void Start();
    FolderListing ListFolder(const std::string& path, const WalkBounds& bounds,
                             Encoding encoding) const;
    // Walks folder depth first, registering what it finds.
    SearchStatus Walk(const std::string& folder, FolderPrefetch& prefetch,
                      SearchListener* listener);
    // Whether the file name in the folder folder is the catalogue or one of its saves' files.
    bool BelongsToCatalogue(const std::string& folder, std::string_view name) const;
    // Appends an entry for a classified file unless the catalogue holds its path.
    void Register(ListedItem& item);
    // Reports progress when it is time to; false when the listener cancels.
    bool ReportProgress(SearchListener* listener, const std::string& folder);

    Catalogue* doc_;  // not owned
    FolderLister& lister_;
    std::vector<EntryRef> appended_;
    // Titles are only added while a search runs, so the numbering may remember its counters.
    UniqueTitles titles_;
    SearchProgress progress_;
    std::size_t itemsSinceClockCheck_ = 0;
    std::chrono::steady_clock::time_point lastReport_;
    std::string catalogueName_;
    std::string catalogueFolder_;  // resolved, with a separator at its end; empty: none
};

}  // namespace kantoria
