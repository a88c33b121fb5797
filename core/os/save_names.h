// How a save names the files it makes beside the file it writes: the temporary file and the
// lock file. One rule for every system, so that a save recognises what an earlier one left.
#pragma once

#include <string_view>

#include "core/base/status.h"

namespace kantoria {

// ".<name>.tmp<digits and dashes>"
inline constexpr std::string_view kSaveTempMark = ".tmp";
// ".<name>.lock"
inline constexpr std::string_view kLockSuffix = ".lock";
// How the reason of a failure that came from the lock file itself begins, before its path.
inline constexpr std::string_view kLockFileWords = "the lock file ";

// Why a lock could not be taken in time: another program holds it.
Status LockHeldElsewhere();

}  // namespace kantoria
