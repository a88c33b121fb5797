// A folder tree in memory for tests of the walk.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/os/folder_lister.h"

namespace kantoria::test {

// A folder tree in memory, with Windows-style paths; items are listed in scrambled order so
// that the walk's own ordering is what the tests see.
class FakeLister final : public FolderLister {
  public:
    void AddFile(const std::string& path) { Add(path, false); }
    void AddFolder(const std::string& path) { Add(path, true); }
    void MakeUnlistable(const std::string& folder) { unlistable_.insert(folder); }

    Status List(const std::string& path, std::vector<FolderItem>& items, FolderId& id) override {
        const std::string folder = path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
        if (unlistable_.count(folder) || !folders_.count(folder))
            return Status::Failed(StatusCode::PermissionDenied, "Permission denied");
        items = folders_[folder];
        std::reverse(items.begin(), items.end());
        id = {1, ids_[folder]};
        return Status::Ok();
    }
    char Separator() const override { return '\\'; }

  private:
    void Add(const std::string& path, bool folder) {
        const size_t sep = path.rfind('\\');
        const std::string parent = path.substr(0, sep);
        if (!folders_.count(parent) && parent != path) Add(parent, true);
        if (folder && !folders_.count(path)) {
            folders_[path];
            ids_[path] = ids_.size() + 1;
        }
        if (sep != std::string::npos) folders_[parent].push_back({path.substr(sep + 1), folder});
    }
    std::map<std::string, std::vector<FolderItem>> folders_;
    std::map<std::string, std::uint64_t> ids_;
    std::set<std::string> unlistable_;
};

}  // namespace kantoria::test
