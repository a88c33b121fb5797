// How a save names the files it makes beside the file it writes: the temporary file and the
// lock file. One rule for every system, so that a save recognises what an earlier one left.
#pragma once

#include <string_view>

namespace kantoria {

// ".<name>.tmp<digits and dashes>"
inline constexpr std::string_view kSaveTempMark = ".tmp";
// ".<name>.lock"
inline constexpr std::string_view kLockSuffix = ".lock";
// How the reason of a failure that came from the lock file itself begins, before its path.
inline constexpr std::string_view kLockFileWords = "the lock file ";

}  // namespace kantoria
