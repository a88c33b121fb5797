// Reading files: whole into memory, or piece by piece so that a large file never has to be
// held at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/os/file_stamp.h"

namespace kantoria {

// A regular file opened once for reading. Every pass over it reads the file that one open
// found, from its beginning, even when the path is meanwhile replaced by another file: a
// reader that needs two passes never mixes two files.
class ReadableFile {
  public:
    ReadableFile() = default;
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;
    ~ReadableFile() { Close(); }

    // Opens path, closing any file held before. Refuses a folder (NotRegularFile) and a
    // device, pipe or socket (SpecialFile) without ever waiting for one.
    Status Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    // The size the file had when it was opened.
    uint64_t Size() const { return stamp_.size; }
    // What the file was when it was opened.
    const FileStamp& Stamp() const { return stamp_; }

    // Hands the file's bytes from its beginning to consume in order, in pieces of at most
    // pieceSize bytes (never empty). A read error ends the reading and is returned.
    Status ReadInPieces(size_t pieceSize,
                        const std::function<void(std::string_view)>& consume) const;

  private:
    int fd_ = -1;
    FileStamp stamp_;
};

// Whether the file at path can be opened for reading, as the readers below would open it.
Status CheckReadable(const std::string& path);

// Opens the file at path and hands its bytes to consume as ReadableFile::ReadInPieces does.
Status ReadFileInPieces(const std::string& path, size_t pieceSize,
                        const std::function<void(std::string_view)>& consume);

// Replaces out with the bytes of the file at path.
Status ReadWholeFile(const std::string& path, std::string& out);

}  // namespace kantoria
