#include "core/os/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <thread>

#include "core/os/posix/not_regular.h"
#include "core/os/posix/stat_stamp.h"
#include "core/os/save_names.h"

namespace kantoria {
namespace {

constexpr std::chrono::milliseconds kRetryEvery{20};

std::string LockPath(const std::string& systemPath) {
    const std::filesystem::path path(systemPath);
    return (path.parent_path() / ("." + path.filename().string() + std::string(kLockSuffix)))
        .string();
}

// Locks fd, waiting until deadline when there is one. Answers 0 or the errno value.
int LockBefore(int fd, const std::optional<std::chrono::steady_clock::time_point>& deadline) {
    for (;;) {
        if (::flock(fd, deadline ? LOCK_EX | LOCK_NB : LOCK_EX) == 0) return 0;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK || !deadline) return errno;
        if (std::chrono::steady_clock::now() >= *deadline) return EWOULDBLOCK;
        std::this_thread::sleep_for(kRetryEvery);
    }
}

// Whoever may write the catalogue's folder may replace the catalogue, so must be able to open
// its lock file: it is group- or world-writable as the folder is, whatever the umask says.
mode_t LockFileMode(const std::string& lockPath) {
    const std::filesystem::path folder = std::filesystem::path(lockPath).parent_path();
    struct stat st {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0) return 0644;
    return 0644 | (st.st_mode & (S_IWGRP | S_IWOTH));
}

Status LockFileFailure(const std::string& lockPath, int error) {
    if (error == ELOOP)
        return Status::Failed(StatusCode::SpecialFile,
                              std::string(kLockFileWords) + lockPath + " is a symbolic link");
    return Status::Failed(
        Status::FromErrno(error).code(),
        std::string(kLockFileWords) + lockPath + ": " + Status::FromErrno(error).reason());
}

// Opens the lock file, making it when it is missing. A link at its name is never followed (it
// could make the save create or lock a file elsewhere, in another user's folder), and only a
// regular file is taken. A lock file the user may not write is locked through a read-only
// descriptor: the lock needs none of its bytes. Answers the descriptor, or -1 with status set.
int OpenLockFile(const std::string& lockPath, Status& status) {
    constexpr int kNoFollow = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    for (;;) {
        int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_EXCL | kNoFollow, 0600);
        if (fd >= 0) {
            // A file system without modes (a FAT stick) keeps what it has: a courtesy only.
            if (::fchmod(fd, LockFileMode(lockPath)) != 0) {
            }
            return fd;
        }
        if (errno != EEXIST) break;
        fd = ::open(lockPath.c_str(), O_RDWR | kNoFollow);
        if (fd < 0 && errno == EACCES) fd = ::open(lockPath.c_str(), O_RDONLY | kNoFollow);
        if (fd < 0 && errno == ENOENT) continue;  // its holder removed it as we looked
        if (fd < 0) break;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            const Status kind = NotRegularFileStatus(st.st_mode);
            ::close(fd);
            status = Status::Failed(kind.code(),
                                    std::string(kLockFileWords) + lockPath + ": " + kind.reason());
            return -1;
        }
        return fd;
    }
    status = LockFileFailure(lockPath, errno);
    return -1;
}

}  // namespace

std::unique_ptr<FileLock> FileLock::AcquireBefore(
    const std::string& systemPath, Status& status,
    const std::optional<std::chrono::steady_clock::time_point>& deadline) {
    const std::string lockPath = LockPath(systemPath);
    for (;;) {
        const int fd = OpenLockFile(lockPath, status);
        if (fd < 0) return nullptr;
        if (const int error = LockBefore(fd, deadline); error != 0) {
            status = error == EWOULDBLOCK ? LockHeldElsewhere() : LockFileFailure(lockPath, error);
            ::close(fd);
            return nullptr;
        }
        // The holder before us removes the lock file as it lets go: a lock on a file no longer
        // at the path locks nothing, so try again with the one there now.
        struct stat held {
        }, there{};
        if (::fstat(fd, &held) == 0 && ::lstat(lockPath.c_str(), &there) == 0 &&
            held.st_dev == there.st_dev && held.st_ino == there.st_ino) {
            status = Status::Ok();
            return Make(fd, lockPath);
        }
        ::close(fd);
    }
}

FileStamp StampOf(const std::string& systemPath) {
    struct stat st {};
    if (::stat(systemPath.c_str(), &st) != 0) return {};
    return StampOfStat(st);
}

FileLock::~FileLock() {
    ::unlink(path_.c_str());
    ::close(fd_);
}

}  // namespace kantoria
