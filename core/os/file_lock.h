// Telling whether a file changed on disk since it was read, and keeping two programs from
// reading, changing and writing one catalogue at the same time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/base/status.h"

namespace kantoria {

// What a file was when it was read or written: another program's save shows in one of these
// (a save by rename gives a new inode, an edit in place a new size or modification time).
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

// Whether name, a file in the same folder as a file named targetName, is the lock file of
// targetName.
bool IsLockFileOf(std::string_view targetName, std::string_view name);

// An advisory lock on a file, held on a lock file beside it, so that it outlives the rename
// that replaces the file on each save. Whoever reads, changes and writes the file holds it
// throughout; a second holder waits. The lock file goes when the lock is released; one left by
// a killed program holds no lock and is taken over.
class FileLock {
  public:
    // Waits for the lock on the file at systemPath. Answers nullptr with the reason when no lock
    // file can be made there (a folder the user may not write): the write that follows fails
    // with its own reason then.
    static std::unique_ptr<FileLock> Acquire(const std::string& systemPath, Status& status);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

  private:
    FileLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    std::string path_;
};

}  // namespace kantoria
