#include "extract/document_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kantoria {
namespace {

std::string KindOf(mode_t mode) {
    return S_ISDIR(mode)    ? "a folder"
           : S_ISCHR(mode)  ? "a character device"
           : S_ISBLK(mode)  ? "a block device"
           : S_ISFIFO(mode) ? "a named pipe"
           : S_ISSOCK(mode) ? "a socket"
                            : "not a regular file";
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

}  // namespace

DocumentFile::~DocumentFile() {
    if (fd_ >= 0) close(fd_);
}

Extracted DocumentFile::Open(const std::string& path) {
    path_ = path;
    struct stat st {};
    // Without O_NONBLOCK, opening a named pipe waits for a writer; fstat then refuses it.
    fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) {
        const int error = errno;
        // A socket cannot be opened at all: say what stands there.
        if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
            return {Outcome::NotRegular, KindOf(st.st_mode)};
        return Extracted::Fail(std::strerror(error));
    }
    if (fstat(fd_, &st) != 0) return Extracted::Fail(std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return {Outcome::NotRegular, KindOf(st.st_mode)};
    opened_ = st;
    return Extracted::Fine();
}

Extracted DocumentFile::Read(std::uint64_t limit, std::string& out, bool& cut) const {
    out.clear();
    cut = Size() > limit;
    out.resize(static_cast<size_t>(cut ? limit : Size()));
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n =
            pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Extracted::Fail(std::strerror(errno));
        if (n == 0) return {Outcome::Changed, "file shrank while it was read"};
        done += static_cast<size_t>(n);
    }
    return Extracted::Fine();
}

Extracted DocumentFile::CheckUnchanged() const {
    struct stat now {};
    if (stat(path_.c_str(), &now) != 0)
        return {Outcome::Changed, "file vanished while it was read"};
    struct stat held {};
    if (fstat(fd_, &held) != 0 || !SameFile(opened_, now) || !SameFile(opened_, held))
        return {Outcome::Changed, "file changed while it was read"};
    return Extracted::Fine();
}

}  // namespace kantoria
