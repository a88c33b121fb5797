#include "core/os/file_read.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <new>
#include <stdexcept>
#include <vector>

#include "core/os/win32/file_stamp.h"
#include "core/os/win32/wide.h"

namespace kantoria {

using win32::FromDescriptor;
using win32::Handle;

Status ReadableFile::Open(const std::string& path) {
    Close();
    const std::wstring name = win32::Wide(path);
    // Others may go on reading, writing, renaming or deleting the file: this one keeps reading
    // the file it opened, as on POSIX.
    Handle file(::CreateFileW(name.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return win32::NotRegularFileStatus(true);
        return win32::FromError(error);
    }
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) return win32::NotRegularFileStatus(false);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info)) return win32::LastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return win32::NotRegularFileStatus(true);
    const int fd = win32::ToDescriptor(file.release(), _O_RDONLY);
    if (fd < 0) return Status::FromErrno(EMFILE);
    fd_ = fd;
    stamp_ = win32::StampOfInfo(info);
    return Status::Ok();
}

void ReadableFile::Close() {
    if (fd_ >= 0) ::_close(fd_);
    fd_ = -1;
    stamp_ = {};
}

Status ReadableFile::ReadInPieces(size_t pieceSize,
                                  const std::function<void(std::string_view)>& consume) const {
    if (fd_ < 0) return Status::FromErrno(EBADF);
    const HANDLE file = FromDescriptor(fd_);
    std::vector<char> piece(pieceSize == 0 ? 1 : pieceSize > (1u << 30) ? (1u << 30) : pieceSize);
    std::uint64_t offset = 0;
    for (;;) {
        // Each read names its offset, so passes never depend on where another left the file.
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD n = 0;
        if (!::ReadFile(file, piece.data(), static_cast<DWORD>(piece.size()), &n, &at)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF) return Status::Ok();
            return win32::FromError(error);
        }
        if (n == 0) return Status::Ok();
        offset += n;
        consume(std::string_view(piece.data(), n));
    }
}

FileStamp StampOf(const std::string& systemPath) {
    const Handle file(win32::OpenForQuery(win32::Wide(systemPath)));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info)) return {};
    return win32::StampOfInfo(info);
}

}  // namespace kantoria
