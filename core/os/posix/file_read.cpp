#include "core/os/file_read.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <vector>

namespace kantoria {

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File OpenForReading(const std::string& path, Status& status) {
    File file(nullptr, &std::fclose);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        status = Status::FromErrno(EISDIR);
        return file;
    }
    errno = 0;
    file.reset(std::fopen(path.c_str(), "rb"));
    status = file ? Status::Ok() : Status::FromErrno(errno ? errno : ENOENT);
    return file;
}

}  // namespace

Status CheckReadable(const std::string& path) {
    Status status = Status::Ok();
    OpenForReading(path, status);
    return status;
}

Status ReadFileInPieces(const std::string& path, size_t pieceSize,
                        const std::function<void(std::string_view)>& consume) {
    Status opened = Status::Ok();
    const File file = OpenForReading(path, opened);
    if (!file) return opened;
    std::vector<char> piece(pieceSize == 0 ? 1 : pieceSize);
    for (;;) {
        const size_t n = std::fread(piece.data(), 1, piece.size(), file.get());
        if (n > 0) consume(std::string_view(piece.data(), n));
        if (n < piece.size()) break;
    }
    if (std::ferror(file.get())) return Status::FromErrno(errno ? errno : EIO);
    return Status::Ok();
}

Status ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    try {
        // Size the buffer once when the size is known; other files grow as they are read.
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        if (!ec) out.reserve(size);
        const Status status = ReadFileInPieces(
            path, size_t{1} << 16, [&out](std::string_view piece) { out.append(piece); });
        if (!status) out = std::string();
        return status;
    } catch (const std::bad_alloc&) {
        out = std::string();
        return Status::FromErrno(ENOMEM);
    } catch (const std::length_error&) {
        out = std::string();
        return Status::FromErrno(EFBIG);
    }
}

}  // namespace kantoria
