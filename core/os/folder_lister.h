// Listing the items of a folder, for the automatic search.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/base/status.h"

namespace kantoria {

struct FolderItem {
    std::string name;       // program text (see FromSystemName)
    bool isFolder = false;  // a folder, or a link to one
    bool isLink = false;    // a symbolic link, whatever it leads to (or to nothing)
};

// Identifies a folder however it was reached, so that a walk can recognise a folder it has
// entered already by another way.
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FolderId&) const = default;
};

// Implementations must be safe to call from several threads at once: the automatic search lists
// folders ahead of its walk on a few threads.
class FolderLister {
  public:
    virtual ~FolderLister() = default;
    // Replaces items with the folder's items, "." and ".." left out, in no particular order,
    // or says why the folder cannot be listed.
    virtual Status List(const std::string& folder, std::vector<FolderItem>& items,
                        FolderId& id) = 0;
    // Where path really leads: absolute, every link in it followed and no "." or ".." left.
    virtual Status ResolvePath(const std::string& path, std::string& resolved) = 0;
    // The separator placed between a folder and an item's name.
    virtual char Separator() const = 0;
};

// The lister of the system the program runs on.
std::unique_ptr<FolderLister> MakeSystemFolderLister();

}  // namespace kantoria
