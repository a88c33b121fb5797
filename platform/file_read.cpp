#include "platform/file_read.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>

namespace kantoria {

IoStatus ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!ec && std::filesystem::is_directory(status)) return IoStatus::FromErrno(EISDIR);
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) return IoStatus::FromErrno(errno ? errno : ENOENT);
    try {
        // Size the buffer once when the size is known; other files are read in chunks.
        if (!ec && std::filesystem::is_regular_file(status)) {
            const auto size = std::filesystem::file_size(path, ec);
            if (!ec) out.reserve(size);
        }
        char chunk[1 << 16];
        for (;;) {
            const size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
            out.append(chunk, n);
            if (n < sizeof chunk) break;
        }
    } catch (const std::bad_alloc&) {
        out = std::string();
        return IoStatus::FromErrno(ENOMEM);
    } catch (const std::length_error&) {
        out = std::string();
        return IoStatus::FromErrno(EFBIG);
    }
    if (std::ferror(file.get())) {
        const int error = errno ? errno : EIO;
        out.clear();
        return IoStatus::FromErrno(error);
    }
    return IoStatus::Ok();
}

}  // namespace kantoria
