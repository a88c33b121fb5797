// What a file was when it was read or written, so that another program's write since then
// can be told.
#pragma once

#include <cstdint>
#include <string>

namespace kantoria {

// Another program's save shows in one of these: a save by rename gives a new inode, an edit in
// place a new size or modification time.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at systemPath as it stands (exists is false when there is none).
FileStamp StampOf(const std::string& systemPath);

}  // namespace kantoria
