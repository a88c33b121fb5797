// A folder tree in memory for tests of the walk.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/os/folder_lister.h"

namespace kantoria::test {

// A folder tree in memory, with Windows-style paths; items are listed in scrambled order so
// that the walk's own ordering is what the tests see. Links name their target by its full path.
// Listing and resolving may be called from several threads; building the tree may not.
class FakeLister final : public FolderLister {
  public:
    void AddFile(const std::string& path) { Add(path, false); }
    void AddFolder(const std::string& path) { Add(path, true); }
    void AddFolderLink(const std::string& path, const std::string& target) {
        Add(path, true, true);
        links_[path] = target;
    }
    void MakeUnlistable(const std::string& folder) { unlistable_.insert(folder); }

    Status List(const std::string& path, std::vector<FolderItem>& items, FolderId& id) override {
        const std::lock_guard lock(mutex_);
        const std::string folder = Resolve(path);
        if (unlistable_.count(folder) || !folders_.count(folder))
            return Status::Failed(StatusCode::PermissionDenied, "Permission denied");
        items = folders_.at(folder);
        std::reverse(items.begin(), items.end());
        id = {1, ids_.at(folder)};
        return Status::Ok();
    }
    Status ResolvePath(const std::string& path, std::string& resolved) override {
        const std::lock_guard lock(mutex_);
        resolved = Resolve(path);
        return Status::Ok();
    }
    char Separator() const override { return '\\'; }

  private:
    // The path with the links among its leading parts replaced by their targets.
    std::string Resolve(const std::string& path) const {
        std::string done;
        for (std::size_t start = 0; start < path.size();) {
            std::size_t end = path.find('\\', start);
            if (end == std::string::npos) end = path.size();
            done += (done.empty() ? "" : "\\") + path.substr(start, end - start);
            for (auto link = links_.find(done); link != links_.end(); link = links_.find(done))
                done = link->second;
            start = end + 1;
        }
        return done;
    }
    void Add(const std::string& path, bool folder, bool link = false) {
        const size_t sep = path.rfind('\\');
        const std::string parent = path.substr(0, sep);
        if (!folders_.count(parent) && parent != path) Add(parent, true);
        if (folder && !link && !folders_.count(path)) {
            folders_[path];
            ids_[path] = ids_.size() + 1;
        }
        if (sep != std::string::npos)
            folders_[parent].push_back({path.substr(sep + 1), folder, link});
    }
    std::map<std::string, std::vector<FolderItem>> folders_;
    std::map<std::string, std::uint64_t> ids_;
    std::map<std::string, std::string> links_;
    std::set<std::string> unlistable_;
    std::mutex mutex_;
};

}  // namespace kantoria::test
