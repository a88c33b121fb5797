// The failure for a path where something other than a regular file stands.
#pragma once

#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "core/base/status.h"

namespace kantoria {

// A folder is NotRegularFile as the system words it; a device, pipe or socket is SpecialFile,
// named by its kind.
inline Status NotRegularFileStatus(mode_t mode) {
    if (S_ISDIR(mode)) return Status::FromErrno(EISDIR);
    const char* kind = S_ISCHR(mode)    ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISFIFO(mode) ? "a named pipe"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "of an unknown kind";
    return Status::Failed(StatusCode::SpecialFile, std::string("Not a regular file: ") + kind);
}

}  // namespace kantoria
