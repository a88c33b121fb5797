// The file-type associations of the system the program runs on.
#pragma once

#include <memory>

#include "core/ports/file_types.h"

namespace kantoria {

// Answers are remembered for the life of the object, so one object should serve the whole
// run: the icon rebuild after every change then costs no new reading of the system's tables.
std::unique_ptr<FileTypeRegistry> MakeSystemFileTypes();

}  // namespace kantoria
