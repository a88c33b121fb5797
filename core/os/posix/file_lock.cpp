#include "core/os/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <thread>

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

std::unique_ptr<FileLock> AcquireBefore(
    const std::string& systemPath, Status& status,
    const std::optional<std::chrono::steady_clock::time_point>& deadline,
    std::unique_ptr<FileLock> (*make)(int, std::string)) {
    const std::string lockPath = LockPath(systemPath);
    for (;;) {
        const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            status = Status::FromErrno(errno);
            return nullptr;
        }
        if (const int error = LockBefore(fd, deadline); error != 0) {
            status = error == EWOULDBLOCK
                         ? Status::Failed(StatusCode::Busy, "another program is writing it")
                         : Status::FromErrno(error);
            ::close(fd);
            return nullptr;
        }
        // The holder before us removes the lock file as it lets go: a lock on a file no longer
        // at the path locks nothing, so try again with the one there now.
        struct stat held {
        }, there{};
        if (::fstat(fd, &held) == 0 && ::stat(lockPath.c_str(), &there) == 0 &&
            held.st_dev == there.st_dev && held.st_ino == there.st_ino) {
            status = Status::Ok();
            return make(fd, lockPath);
        }
        ::close(fd);
    }
}

}  // namespace

FileStamp StampOf(const std::string& systemPath) {
    struct stat st {};
    if (::stat(systemPath.c_str(), &st) != 0) return {};
    return StampOfStat(st);
}

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& systemPath, Status& status) {
    return AcquireBefore(systemPath, status, std::nullopt, &Make);
}

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& systemPath, Status& status,
                                            std::chrono::milliseconds patience) {
    return AcquireBefore(systemPath, status, std::chrono::steady_clock::now() + patience, &Make);
}

std::unique_ptr<FileLock> FileLock::Make(int fd, std::string path) {
    return std::unique_ptr<FileLock>(new FileLock(fd, std::move(path)));
}

FileLock::~FileLock() {
    ::unlink(path_.c_str());
    ::close(fd_);
}

}  // namespace kantoria
