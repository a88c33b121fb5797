#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/os/atomic_file.h"

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

constexpr std::string_view kTempMark = ".tmp";

std::string TempName(const fs::path& finalPath) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return "." + finalPath.filename().string() + std::string(kTempMark) +
           std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(ticks % 100000);
}

}  // namespace

bool IsTemporaryOf(std::string_view targetName, std::string_view name) {
    return name.size() > 1 + targetName.size() + kTempMark.size() && name[0] == '.' &&
           name.substr(1, targetName.size()) == targetName &&
           name.substr(1 + targetName.size(), kTempMark.size()) == kTempMark;
}

std::unique_ptr<AtomicFile> AtomicFile::Create(const std::string& target, Status& status) {
    fs::path finalPath(target);
    int error = 0;
    if (!ResolveLinks(finalPath, error)) {
        status = Status::FromErrno(error);
        return nullptr;
    }
    struct stat existing {};
    const bool exists = ::stat(finalPath.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        status = Status::FromErrno(EISDIR);
        return nullptr;
    }
    const fs::path dir = finalPath.has_parent_path() ? finalPath.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path temp = dir / TempName(finalPath);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            status = Status::FromErrno(errno);
            return nullptr;
        }
        if (exists) {
            // The catalogue keeps its owner and permissions across the replacement.
            BestEffort(::fchmod(fd, existing.st_mode & 07777));
            BestEffort(::fchown(fd, existing.st_uid, existing.st_gid));
        }
        status = Status::Ok();
        return std::unique_ptr<AtomicFile>(new AtomicFile(fd, temp.string(), finalPath.string()));
    }
    status = Status::FromErrno(EEXIST);
    return nullptr;
}

AtomicFile::AtomicFile(int fd, std::string tempPath, std::string finalPath)
    : fd_(fd), tempPath_(std::move(tempPath)), finalPath_(std::move(finalPath)) {}

AtomicFile::~AtomicFile() {
    if (!committed_) Discard();
}

void AtomicFile::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ::unlink(tempPath_.c_str());
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
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) {
        status_ = Status::FromErrno(errno);
        return status_;
    }
    if (::rename(tempPath_.c_str(), finalPath_.c_str()) != 0) {
        status_ = Status::FromErrno(errno);
        return status_;
    }
    committed_ = true;
    // Make the rename itself durable; a failure here no longer endangers either file.
    const std::string dir = fs::path(finalPath_).has_parent_path()
                                ? fs::path(finalPath_).parent_path().string()
                                : std::string(".");
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        BestEffort(::fsync(dirFd));
        ::close(dirFd);
    }
    return Status::Ok();
}

}  // namespace kantoria
