// Keeping two programs from reading, changing and writing one catalogue at the same time.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/os/file_stamp.h"

namespace kantoria {

// Whether name, a file in the same folder as a file named targetName, is the lock file of
// targetName.
bool IsLockFileOf(std::string_view targetName, std::string_view name);

// Whether a failure to lock came from the lock file itself (something else stands at its name,
// or it cannot be made or opened) rather than from another writer holding it.
bool IsLockFileFailure(const Status& status);

// An advisory lock on a file, held on a lock file beside it, so that it outlives the rename
// that replaces the file on each save. Whoever reads, changes and writes the file holds it
// throughout; a second holder waits. The lock file goes when the lock is released; one left by
// a killed program holds no lock and is taken over. It is made so that everyone who may write
// the folder can lock it too. A reader needs no lock.
class FileLock {
  public:
    // Waits for the lock on the file at systemPath. Answers nullptr with the reason when it cannot
    // be taken: no lock file can be made there (a folder the user may not write), or something
    // other than a regular file, a link among them, stands at its name. A writer must not write
    // without it.
    static std::unique_ptr<FileLock> Acquire(const std::string& systemPath, Status& status);
    // The same, waiting at most patience: a longer wait ends with nullptr and Busy.
    static std::unique_ptr<FileLock> Acquire(const std::string& systemPath, Status& status,
                                             std::chrono::milliseconds patience);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

  private:
    // Each system's way of taking the lock, waiting until deadline when there is one.
    static std::unique_ptr<FileLock> AcquireBefore(
        const std::string& systemPath, Status& status,
        const std::optional<std::chrono::steady_clock::time_point>& deadline);
    static std::unique_ptr<FileLock> Make(int fd, std::string path);
    FileLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    std::string path_;
};

}  // namespace kantoria
