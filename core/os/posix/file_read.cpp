#include "core/os/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <vector>

#include "core/os/posix/not_regular.h"
#include "core/os/posix/stat_stamp.h"

namespace kantoria {

Status ReadableFile::Open(const std::string& path) {
    Close();
    // Without O_NONBLOCK, opening a named pipe waits for a writer; with it, the open returns
    // at once and fstat below refuses the pipe. Reads of a regular file never block anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat st {};
    if (fd < 0) {
        // A socket cannot be opened at all: say what stands there rather than why it failed.
        const int error = errno;
        if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
            return NotRegularFileStatus(st.st_mode);
        return Status::FromErrno(error);
    }
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return Status::FromErrno(error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return NotRegularFileStatus(st.st_mode);
    }
    fd_ = fd;
    stamp_ = StampOfStat(st);
    return Status::Ok();
}

void ReadableFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    stamp_ = {};
}

Status ReadableFile::ReadInPieces(size_t pieceSize,
                                  const std::function<void(std::string_view)>& consume) const {
    if (fd_ < 0) return Status::FromErrno(EBADF);
    std::vector<char> piece(pieceSize == 0 ? 1 : pieceSize);
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(fd_, piece.data(), piece.size(), offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Status::FromErrno(errno);
        }
        if (n == 0) return Status::Ok();
        offset += n;
        consume(std::string_view(piece.data(), static_cast<size_t>(n)));
    }
}

}  // namespace kantoria
