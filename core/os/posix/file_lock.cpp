#include "core/os/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace kantoria {
namespace {

constexpr std::string_view kLockSuffix = ".lock";

std::string LockPath(const std::string& systemPath) {
    const std::filesystem::path path(systemPath);
    return (path.parent_path() / ("." + path.filename().string() + std::string(kLockSuffix)))
        .string();
}

}  // namespace

FileStamp StampOf(const std::string& systemPath) {
    struct stat st {};
    if (::stat(systemPath.c_str(), &st) != 0) return {};
    return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool IsLockFileOf(std::string_view targetName, std::string_view name) {
    return name.size() == 1 + targetName.size() + kLockSuffix.size() && name[0] == '.' &&
           name.substr(1, targetName.size()) == targetName && name.ends_with(kLockSuffix);
}

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& systemPath, Status& status) {
    const std::string lockPath = LockPath(systemPath);
    for (;;) {
        const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            status = Status::FromErrno(errno);
            return nullptr;
        }
        int locked;
        do {
            locked = ::flock(fd, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            status = Status::FromErrno(errno);
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
            return std::unique_ptr<FileLock>(new FileLock(fd, lockPath));
        }
        ::close(fd);
    }
}

FileLock::~FileLock() {
    ::unlink(path_.c_str());
    ::close(fd_);
}

}  // namespace kantoria
