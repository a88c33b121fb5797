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

class CIconSource {
  public:
    std::string m_strPath;     // the entry's file; set by the caller
    std::string m_szIconFile;  // the file holding the type's icon; empty when unusable
    int m_nIconIndex = 0;      // the icon's index in it; negative values are resource ids
    std::string m_szProgram;   // the program that opens m_strPath; empty when none
};

// True when the associations name an icon for the type of source.m_strPath (the text from the
// path's last '.', or the whole path without one); the other fields are then filled. False,
// with them untouched, when the type, its name or its icon value is missing or too long.
bool FindDefaultIcon(CIconSource& source, FileTypeRegistry& types, const Environment& env);

}  // namespace kantoria
