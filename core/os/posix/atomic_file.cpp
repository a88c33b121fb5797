#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/os/atomic_file.h"
#include "core/os/posix/not_regular.h"
#include "core/os/save_names.h"

namespace kantoria {
namespace {

namespace fs = std::filesystem;

// For calls whose failure changes nothing about the outcome (an owner we may not set, say).
void BestEffort(int /*result*/) {}

// Follows a chain of symbolic links to the file they finally name (which may not exist yet).
bool ResolveLinks(fs::path& path, int& error) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        const fs::file_status st = fs::symlink_status(path, ec);
        if (ec || st.type() != fs::file_type::symlink) return true;
        fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            error = ec.value();
            return false;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    error = ELOOP;
    return false;
}

// ".<name>.tmp<pid>-<counter>-<ticks>": unique among live writers, and recognisable by the
// next save of the same file as one to clear away once its writer is gone.
std::string TempName(const fs::path& finalPath) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return "." + finalPath.filename().string() + std::string(kSaveTempMark) +
           std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(ticks % 100000);
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A writer holds an exclusive lock on its temporary file until the rename, so one whose lock
// can be taken was left by a writer that died. A live writer that loses the race between
// creating its file and locking it notices that its name is gone and starts again.
void RemoveDeadTemps(const fs::path& dir, const std::string& name) {
    DIR* listing = ::opendir(dir.c_str());
    if (listing == nullptr) return;
    const int dirFd = ::dirfd(listing);
    while (const dirent* entry = ::readdir(listing)) {
        if (!IsSaveTempName(entry->d_name, name)) continue;
        const int fd =
            ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat opened {
        }, named{};
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(opened, named))
            BestEffort(::unlinkat(dirFd, entry->d_name, 0));
        ::close(fd);
    }
    ::closedir(listing);
}

// Creates and locks a named temporary file in dir; -1 with errno set on failure.
int OpenNamedTemp(const fs::path& dir, const fs::path& finalPath, fs::path& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = dir / TempName(finalPath);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        struct stat opened {
        }, named{};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 &&
            ::lstat(temp.c_str(), &named) == 0 && SameFile(opened, named))
            return fd;
        ::close(fd);  // removed by a cleaner before the lock was taken
    }
    errno = EEXIST;
    return -1;
}

// Gives the anonymous file behind fd a name in dir, as a named temporary file would have.
bool LinkTemp(int fd, const fs::path& dir, const fs::path& finalPath, std::string& temp,
              int& error) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path name = dir / TempName(finalPath);
        int linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
        // Without /proc, the descriptor itself (which needs a privilege).
        if (linked != 0 && errno == ENOENT)
            linked = ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
        if (linked == 0) {
            temp = name.string();
            return true;
        }
        if (errno != EEXIST) {
            error = errno;
            return false;
        }
    }
    error = EEXIST;
    return false;
}

}  // namespace

std::unique_ptr<AtomicFile> AtomicFile::Create(const std::string& target, Status& status,
                                               Temp temp) {
    fs::path finalPath(target);
    int error = 0;
    if (!ResolveLinks(finalPath, error)) {
        status = Status::FromErrno(error);
        return nullptr;
    }
    struct stat existing {};
    const bool exists = ::stat(finalPath.c_str(), &existing) == 0;
    if (exists) {
        // The rename would replace what stands at the path whatever it is: refuse where writing
        // the file in place would fail. The system decides who may write (root may write a
        // read-only file, nobody an immutable one).
        if (!S_ISREG(existing.st_mode)) {
            status = NotRegularFileStatus(existing.st_mode);
            return nullptr;
        }
        if (::faccessat(AT_FDCWD, finalPath.c_str(), W_OK, AT_EACCESS) != 0) {
            status = Status::FromErrno(errno);
            return nullptr;
        }
    }
    const fs::path dir = finalPath.has_parent_path() ? finalPath.parent_path() : fs::path(".");
    RemoveDeadTemps(dir, finalPath.filename().string());

    int fd = -1;
    fs::path tempPath;
    if (temp == Temp::Anonymous) {
        fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        // A file system without anonymous files: a named one instead.
        if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            status = Status::FromErrno(errno);
            return nullptr;
        }
        // The lock marks the file as live once it is given a name at the commit.
        if (fd >= 0) BestEffort(::flock(fd, LOCK_EX));
    }
    if (fd < 0) fd = OpenNamedTemp(dir, finalPath, tempPath);
    if (fd < 0) {
        status = Status::FromErrno(errno);
        return nullptr;
    }
    if (exists) {
        // The catalogue keeps its owner and permissions across the replacement.
        BestEffort(::fchmod(fd, existing.st_mode & 07777));
        BestEffort(::fchown(fd, existing.st_uid, existing.st_gid));
    }
    status = Status::Ok();
    return std::unique_ptr<AtomicFile>(new AtomicFile(fd, tempPath.string(), finalPath.string()));
}

AtomicFile::AtomicFile(int fd, std::string tempPath, std::string finalPath)
    : fd_(fd), tempPath_(std::move(tempPath)), finalPath_(std::move(finalPath)) {}

AtomicFile::~AtomicFile() {
    if (!committed_) Discard();
}

void AtomicFile::Discard() {
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool AtomicFile::Write(std::string_view bytes) {
    if (!status_) return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            status_ = Status::FromErrno(errno);
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

Status AtomicFile::Commit() {
    if (!status_) return status_;
    if (::fsync(fd_) != 0) {
        status_ = Status::FromErrno(errno);
        return status_;
    }
    const fs::path finalPath(finalPath_);
    const fs::path dir = finalPath.has_parent_path() ? finalPath.parent_path() : fs::path(".");
    if (tempPath_.empty()) {
        int error = 0;
        if (!LinkTemp(fd_, dir, finalPath, tempPath_, error)) {
            status_ = Status::FromErrno(error);
            return status_;
        }
    }
    // A second descriptor keeps the lock, so that the temporary file is never taken for a dead
    // writer's, while closing the first reports any late write error before the rename.
    const int lockFd = ::dup(fd_);
    const int closed = ::close(fd_);
    fd_ = lockFd;
    if (closed != 0) {
        status_ = Status::FromErrno(errno);
        return status_;
    }
    if (::rename(tempPath_.c_str(), finalPath_.c_str()) != 0) {
        status_ = Status::FromErrno(errno);
        return status_;
    }
    committed_ = true;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    // Make the rename itself durable; a failure here no longer endangers either file.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        BestEffort(::fsync(dirFd));
        ::close(dirFd);
    }
    return Status::Ok();
}

}  // namespace kantoria
