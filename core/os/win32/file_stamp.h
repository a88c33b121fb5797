// A file's stamp, and a folder's identity, from what Windows says of an open handle: the
// volume's serial number and the file index stand where POSIX has the device and inode.
#pragma once

#include <windows.h>

#include "core/os/file_stamp.h"
#include "core/os/win32/wide.h"

namespace kantoria::win32 {

inline FileStamp StampOfInfo(const BY_HANDLE_FILE_INFORMATION& info) {
    return {true, info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
            (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
            UnixNs(info.ftLastWriteTime)};
}

// A folder where a file was wanted is NotRegularFile as POSIX words it; a device (CON, a
// pipe) is SpecialFile.
inline Status NotRegularFileStatus(bool folder) {
    if (folder) return Status::Failed(StatusCode::NotRegularFile, "Is a directory");
    return Status::Failed(StatusCode::SpecialFile, "Not a regular file: a device");
}

}  // namespace kantoria::win32
