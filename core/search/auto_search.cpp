#include "core/search/auto_search.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

#include "core/catalogue/storable_field.h"
#include "core/os/atomic_file.h"
#include "core/os/file_lock.h"
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
    if (!path.empty() && !IsPathSeparator(path.back())) path += separator;
    path += name;
    return path;
}

struct Frame {
    std::string folder;
    std::vector<FolderItem> items;
    std::size_t next = 0;
    FolderId id;
};

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const {
        return std::hash<std::uint64_t>{}(id.device * 0x9E3779B97F4A7C15ull ^ id.inode);
    }
};

// A folder string that ends with the separator, so that a prefix test stops at names.
std::string WithSeparator(std::string folder, char separator) {
    if (folder.empty() || !IsPathSeparator(folder.back())) folder += separator;
    return folder;
}

}  // namespace

SearchStatus AutoSearch::ScanFolder(const std::string& folder, SearchListener* listener) {
    m_found = 0;
    m_skipped.clear();
    m_unlistable.clear();
    appended_.clear();
    titles_.Clear();
    progress_ = SearchProgress();
    itemsSinceClockCheck_ = 0;
    lastReport_ = std::chrono::steady_clock::now();
    const char separator = lister_.Separator();
    catalogueName_.clear();
    catalogueFolder_.clear();
    if (const size_t cut = m_catalogue.find_last_of(separator); cut != std::string::npos) {
        std::string real;
        if (lister_.ResolvePath(m_catalogue.substr(0, cut + 1), real).ok()) {
            catalogueName_ = m_catalogue.substr(cut + 1);
            catalogueFolder_ = WithSeparator(std::move(real), separator);
        }
    }

    // An explicit stack instead of recursion: a deep tree cannot exhaust the call stack.
    std::vector<Frame> stack;
    // Every real folder is entered once, however many links lead to it: links could otherwise
    // repeat the same files under numbered titles, or loop.
    std::unordered_set<FolderId, FolderIdHash> entered;
    std::string resolvedRoot;  // empty when not known
    if (std::string real; lister_.ResolvePath(folder, real).ok())
        resolvedRoot = WithSeparator(std::move(real), separator);
    // A link that leads into the searched folder is not followed: the walk reaches that
    // folder by its own path, which is the one to register.
    auto leadsInside = [&](const std::string& link) {
        std::string target;
        return !resolvedRoot.empty() && lister_.ResolvePath(link, target).ok() &&
               PathIsWithin(WithSeparator(std::move(target), separator), resolvedRoot);
    };
    // Opens a folder for the walk; false when the caller chose to stop.
    auto enter = [&](const std::string& path) {
        Frame frame;
        frame.folder = path;
        Status listed = lister_.List(path, frame.items, frame.id);
        if (!listed) {
            if (listener && listener->OnUnlistableFolder(path, listed) == UnlistableFolder::Stop)
                return false;
            m_unlistable.push_back({path, std::move(listed)});
            return true;
        }
        if (!entered.insert(frame.id).second) return true;
        SortLikeWindows(frame.items);
        ++progress_.foldersVisited;
        stack.push_back(std::move(frame));
        return true;
    };

    SearchStatus status = SearchStatus::Completed;
    if (!enter(folder)) status = SearchStatus::Stopped;
    while (status == SearchStatus::Completed && !stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.items.size()) {
            stack.pop_back();
            continue;
        }
        const FolderItem& item = top.items[top.next++];
        std::string path = JoinPath(top.folder, item.name, separator);
        if (!ReportProgress(listener, top.folder)) {
            status = SearchStatus::Cancelled;
        } else if (item.isFolder) {
            // Depth first: the subfolder's contents come before the items that follow it.
            if (m_subFolders && !(item.isLink && leadsInside(path)) && !enter(path))
                status = SearchStatus::Stopped;
        } else {
            ++progress_.filesVisited;
            if (!BelongsToCatalogue(top.folder, item.name)) AddFoundFile(std::move(path));
        }
    }
    if (status != SearchStatus::Completed) TakeBack();
    return status;
}

bool AutoSearch::BelongsToCatalogue(const std::string& folder, std::string_view name) {
    if (catalogueFolder_.empty()) return false;
    if (name != catalogueName_ && !IsSaveTempName(name, catalogueName_) &&
        !IsLockFileOf(catalogueName_, name))
        return false;
    std::string real;
    return lister_.ResolvePath(folder, real).ok() &&
           SamePath(WithSeparator(std::move(real), lister_.Separator()), catalogueFolder_);
}

void AutoSearch::AddFoundFile(std::string path) {
    const PathParts parts = SplitPath(path);
    if (m_useExt && !EqualsNoCase(parts.extension, m_extension)) return;
    if (m_pDoc->m_EntryList.FindByPath(path)) return;
    if (!IsStorableField(path)) {
        m_skipped.push_back(path);
        return;
    }
    // The file name becomes a title as if typed; the path keeps its spelling.
    std::string title =
        titles_.For(m_pDoc->m_EntryList, EnteredText(parts.name, m_pDoc->m_encoding));
    appended_.push_back(m_pDoc->m_EntryList.Append(std::move(path), std::move(title),
                                                   std::string(kAutoSearchComment)));
    ++m_found;
}

void AutoSearch::TakeBack() {
    for (auto it = appended_.rbegin(); it != appended_.rend(); ++it)
        m_pDoc->m_EntryList.Remove(*it);
    appended_.clear();
    titles_.Clear();
    m_found = 0;
}

bool AutoSearch::ReportProgress(SearchListener* listener, const std::string& folder) {
    if (!listener || ++itemsSinceClockCheck_ < kItemsBetweenClockChecks) return true;
    itemsSinceClockCheck_ = 0;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastReport_ < m_progressInterval) return true;
    lastReport_ = now;
    progress_.found = static_cast<std::size_t>(m_found);
    progress_.currentFolder = folder;
    return listener->OnProgress(progress_);
}

}  // namespace kantoria
