// Reading files: whole into memory, or piece by piece so that a large file never has to be
// held at once.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/base/status.h"

namespace kantoria {

// Whether the file at path can be opened for reading, as the readers below would open it.
Status CheckReadable(const std::string& path);

// Hands the bytes of the file at path to consume in order, in pieces of at most pieceSize
// bytes (never empty). A read error ends the reading and is returned.
Status ReadFileInPieces(const std::string& path, size_t pieceSize,
                        const std::function<void(std::string_view)>& consume);

// Replaces out with the bytes of the file at path.
Status ReadWholeFile(const std::string& path, std::string& out);

}  // namespace kantoria
