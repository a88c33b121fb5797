// Finding where the icon of a file's type lives, from the system's file-type associations.
#pragma once

#include <cstddef>
#include <string>

#include "core/os/environment.h"
#include "core/ports/file_types.h"

namespace kantoria {

// Bounds that catalogues and icon settings written for the Windows program respect. Longer
// values are treated as unusable rather than cut, so that they never name something else.
inline constexpr std::size_t kMaxExtensionBytes = 15;       // an extension as split from a path
inline constexpr std::size_t kMaxPathBytes = 259;           // an icon file or a program
inline constexpr std::size_t kMaxRegistryValueBytes = 511;  // a type name or an icon value

struct IconSource {
    std::string path;      // the entry's file; set by the caller
    std::string iconFile;  // the file holding the type's icon; empty when unusable
    int iconIndex = 0;     // the icon's index in it; negative values are resource ids
    std::string program;   // the program that opens path; empty when none
};

// True when the associations name an icon for the type of source.path (the text from the
// path's last '.', or the whole path without one); the other fields are then filled. False,
// with them untouched, when the type, its name or its icon value is missing or too long.
bool FindDefaultIcon(IconSource& source, FileTypeRegistry& types, const Environment& env);

}  // namespace kantoria
