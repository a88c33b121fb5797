// Reading a whole file into memory.
#pragma once

#include <string>

#include "platform/io_status.h"

namespace kantoria {

// Replaces out with the bytes of the file at path.
IoStatus ReadWholeFile(const std::string& path, std::string& out);

}  // namespace kantoria
