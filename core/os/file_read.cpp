#include "core/os/file_read.h"

#include <cerrno>
#include <new>
#include <stdexcept>

namespace kantoria {

Status CheckReadable(const std::string& path) {
    ReadableFile file;
    return file.Open(path);
}

Status ReadFileInPieces(const std::string& path, size_t pieceSize,
                        const std::function<void(std::string_view)>& consume) {
    ReadableFile file;
    if (Status opened = file.Open(path); !opened) return opened;
    return file.ReadInPieces(pieceSize, consume);
}

Status ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    try {
        ReadableFile file;
        if (Status opened = file.Open(path); !opened) return opened;
        // Size the buffer once; a file that grows meanwhile still reads whole.
        out.reserve(static_cast<size_t>(file.Size()));
        const Status status = file.ReadInPieces(
            size_t{1} << 16, [&out](std::string_view piece) { out.append(piece); });
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
