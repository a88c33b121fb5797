#include "core/search/auto_search.h"

#include <algorithm>
#include <unordered_set>

#include "core/catalogue/storable_field.h"
#include "core/os/atomic_file.h"
#include "core/os/file_lock.h"
#include "core/search/folder_prefetch.h"
#include "core/text/entered_text.h"
#include "core/text/path_identity.h"
#include "core/text/path_split.h"

namespace kantoria {
namespace {

constexpr std::size_t kItemsBetweenClockChecks = 64;

// Items of one folder in the order the Windows file system delivers them: names compared
// without regard to case (bytes decide between names that differ only in case).
void SortLikeWindows(std::vector<FolderItem>& items) {
    std::sort(items.begin(), items.end(), [](const FolderItem& a, const FolderItem& b) {
        const int order = CompareNoCase(a.name, b.name);
        return order != 0 ? order < 0 : a.name < b.name;
    });
}

std::string JoinPath(const std::string& folder, const std::string& name, char separator) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path = folder;
    if (!path.empty() && !IsSeparatorIn(path, path.back())) path += separator;
    path += name;
    return path;
}

struct Frame {
    std::string folder;
    std::vector<ListedItem> items;
    std::size_t next = 0;
};

// A folder string that ends with the separator, so that a prefix test stops at names.
std::string WithSeparator(std::string folder, char separator) {
    if (folder.empty() || !IsSeparatorIn(folder, folder.back())) folder += separator;
    return folder;
}

// Decides what becomes of a file found at item.path, apart from what depends on the catalogue.
void ClassifyFile(ListedItem& item, bool useExt, const std::string& extension, Encoding enc) {
    const PathParts parts = SplitPath(item.path);
    if (useExt && !EqualsNoCase(parts.extension, extension)) {
        item.role = ItemRole::Unwanted;
    } else if (!IsStorablePath(item.path)) {
        item.role = ItemRole::Unstorable;
    } else {
        // The file name becomes a title as if typed; the path keeps its spelling.
        item.role = ItemRole::Register;
        item.title = EnteredText(parts.name, enc);
    }
}

}  // namespace

// Which subfolders the walk goes into. A link that leads into the searched folder is not
// followed: the walk reaches that folder by its own path, which is the one to register. The
// kernel's own file systems (processes, devices, control groups, automount points) are never
// entered: judged by the type the mount table gives, since in what the file system itself
// reports a device folder and a memory folder such as /tmp look alike; one that the user named
// is searched as asked.
class AutoSearch::WalkBounds {
  public:
    WalkBounds(FolderLister& lister, const std::string& folder, MountTable mounts)
        : lister_(lister),
          separator_(lister.Separator()),
          mounts_(std::move(mounts)),
          walkRoot_(WithSeparator(folder, separator_)) {
        if (std::string real; lister_.ResolvePath(folder, real).ok())
            resolvedRoot_ = WithSeparator(std::move(real), separator_);
        searchedMount_ = mounts_.Find(resolvedRoot_.empty() ? folder : resolvedRoot_).id;
    }

    // A folder's mount is found from where it really is: a link's target, or else its path
    // with the searched folder resolved.
    bool Enters(const std::string& path, bool isLink) const {
        std::string real;
        if (isLink && lister_.ResolvePath(path, real).ok()) {
            if (!resolvedRoot_.empty() &&
                PathIsWithin(WithSeparator(real, separator_), resolvedRoot_))
                return false;
        } else if (!isLink && !resolvedRoot_.empty() && path.starts_with(walkRoot_)) {
            real = resolvedRoot_ + path.substr(walkRoot_.size());
        } else {
            real = path;
        }
        const Mount& mount = mounts_.Find(real);
        return !IsVirtualFileSystem(mount.type) || mount.id == searchedMount_;
    }

  private:
    FolderLister& lister_;
    char separator_;
    MountTable mounts_;
    std::string walkRoot_;
    std::string resolvedRoot_;  // empty when not known
    int searchedMount_ = 0;
};

void AutoSearch::Start() {
    found = 0;
    skipped.clear();
    unlistable.clear();
    appended_.clear();
    titles_.Clear();
    progress_ = SearchProgress();
    itemsSinceClockCheck_ = 0;
    lastReport_ = std::chrono::steady_clock::now();
    const char separator = lister_.Separator();
    catalogueName_.clear();
    catalogueFolder_.clear();
    if (const size_t cut = catalogue.find_last_of(separator); cut != std::string::npos) {
        std::string real;
        if (lister_.ResolvePath(catalogue.substr(0, cut + 1), real).ok()) {
            catalogueName_ = catalogue.substr(cut + 1);
            catalogueFolder_ = WithSeparator(std::move(real), separator);
        }
    }
}

// Runs on the listing threads as well as on the walk's: everything about an item that does not
// depend on the catalogue is decided while its folder is listed.
FolderListing AutoSearch::ListFolder(const std::string& path, const WalkBounds& bounds,
                                     Encoding encoding) const {
    FolderListing listing;
    std::vector<FolderItem> items;
    listing.status = lister_.List(path, items, listing.id);
    if (!listing.status) return listing;
    SortLikeWindows(items);
    listing.items.resize(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        ListedItem& listed = listing.items[i];
        listed.path = JoinPath(path, items[i].name, lister_.Separator());
        if (!items[i].isFolder) {
            if (BelongsToCatalogue(path, items[i].name))
                listed.role = ItemRole::OwnFile;
            else
                ClassifyFile(listed, useExt, extension, encoding);
        } else if (subFolders && bounds.Enters(listed.path, items[i].isLink)) {
            listed.role = ItemRole::Enter;
        }
    }
    return listing;
}

SearchStatus AutoSearch::ScanFolder(const std::string& folder, SearchListener* listener) {
    Start();
    const WalkBounds bounds(lister_, folder, mounts ? *mounts : ReadSystemMountTable());
    const Encoding encoding = doc_->FileEncoding();
    FolderPrefetch prefetch(
        [&](const std::string& path) { return ListFolder(path, bounds, encoding); },
        listingThreads);
    const SearchStatus status = Walk(folder, prefetch, listener);
    if (status != SearchStatus::Completed) TakeBack();
    return status;
}

SearchStatus AutoSearch::Walk(const std::string& folder, FolderPrefetch& prefetch,
                              SearchListener* listener) {
    // An explicit stack instead of recursion: a deep tree cannot exhaust the call stack.
    std::vector<Frame> stack;
    // Every real folder is entered once, however many links lead to it: links could otherwise
    // repeat the same files under numbered titles, or loop.
    std::unordered_set<FolderId, FolderIdHash> entered;
    // Opens a folder for the walk; false when the caller chose to stop.
    auto enter = [&](const std::string& path) {
        FolderListing listing = prefetch.Take(path);
        if (!listing.status) {
            if (listener &&
                listener->OnUnlistableFolder(path, listing.status) == UnlistableFolder::Stop)
                return false;
            unlistable.push_back({path, std::move(listing.status)});
            return true;
        }
        if (!entered.insert(listing.id).second) return true;
        prefetch.Entered(listing);
        ++progress_.foldersVisited;
        stack.push_back({path, std::move(listing.items)});
        return true;
    };

    if (!enter(folder)) return SearchStatus::Stopped;
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.items.size()) {
            stack.pop_back();
            continue;
        }
        ListedItem& item = top.items[top.next++];
        if (!ReportProgress(listener, top.folder)) return SearchStatus::Cancelled;
        if (item.role == ItemRole::Enter) {
            // Depth first: the subfolder's contents come before the items that follow it.
            const std::string path = std::move(item.path);
            if (!enter(path)) return SearchStatus::Stopped;
        } else if (item.role != ItemRole::PassOver) {
            ++progress_.filesVisited;
            if (item.role != ItemRole::OwnFile) Register(item);
        }
    }
    return SearchStatus::Completed;
}

bool AutoSearch::BelongsToCatalogue(const std::string& folder, std::string_view name) const {
    if (catalogueFolder_.empty()) return false;
    if (name != catalogueName_ && !IsSaveTempName(name, catalogueName_) &&
        !IsLockFileOf(catalogueName_, name))
        return false;
    std::string real;
    return lister_.ResolvePath(folder, real).ok() &&
           SamePath(WithSeparator(std::move(real), lister_.Separator()), catalogueFolder_);
}

void AutoSearch::AddFoundFile(std::string path) {
    ListedItem item;
    item.path = std::move(path);
    ClassifyFile(item, useExt, extension, doc_->FileEncoding());
    Register(item);
}

void AutoSearch::Register(ListedItem& item) {
    if (item.role == ItemRole::Unwanted || doc_->Entries().FindByPath(item.path)) return;
    if (item.role == ItemRole::Unstorable) {
        skipped.push_back(std::move(item.path));
        return;
    }
    std::string title = titles_.For(doc_->Entries(), item.title);
    appended_.push_back(doc_->Entries().Append(std::move(item.path), std::move(title),
                                               std::string(kAutoSearchComment)));
    ++found;
}

void AutoSearch::TakeBack() {
    for (auto it = appended_.rbegin(); it != appended_.rend(); ++it) doc_->Entries().Remove(*it);
    appended_.clear();
    titles_.Clear();
    found = 0;
}

bool AutoSearch::ReportProgress(SearchListener* listener, const std::string& folder) {
    if (!listener || ++itemsSinceClockCheck_ < kItemsBetweenClockChecks) return true;
    itemsSinceClockCheck_ = 0;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastReport_ < progressInterval) return true;
    lastReport_ = now;
    progress_.found = static_cast<std::size_t>(found);
    progress_.currentFolder = folder;
    return listener->OnProgress(progress_);
}

}  // namespace kantoria
