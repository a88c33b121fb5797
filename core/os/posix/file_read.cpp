#include "core/os/file_read.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <vector>

namespace kantoria {

Status ReadFileInPieces(const std::string& path, size_t pieceSize,
                        const std::function<void(std::string_view)>& consume) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return Status::FromErrno(EISDIR);
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) return Status::FromErrno(errno ? errno : ENOENT);
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
