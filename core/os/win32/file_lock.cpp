#include "core/os/file_lock.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <optional>
#include <thread>

#include "core/os/save_names.h"
#include "core/os/win32/file_stamp.h"
#include "core/os/win32/wide.h"

namespace kantoria {
namespace {

using win32::Handle;

constexpr std::chrono::milliseconds kRetryEvery{20};

std::wstring LockPath(const std::string& systemPath) {
    const std::wstring path = win32::Wide(systemPath);
    const size_t cut = path.find_last_of(L"\\/:");
    const size_t start = cut == std::wstring::npos ? 0 : cut + 1;
    return path.substr(0, start) + L"." + path.substr(start) + win32::Wide(kLockSuffix);
}

bool SameFile(HANDLE held, const std::wstring& path) {
    const Handle there(win32::OpenForQuery(path));
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return there.valid() && ::GetFileInformationByHandle(held, &a) &&
           ::GetFileInformationByHandle(there.get(), &b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

bool PastDeadline(const std::optional<std::chrono::steady_clock::time_point>& deadline) {
    return deadline && std::chrono::steady_clock::now() >= *deadline;
}

}  // namespace

std::unique_ptr<FileLock> FileLock::AcquireBefore(
    const std::string& systemPath, Status& status,
    const std::optional<std::chrono::steady_clock::time_point>& deadline) {
    const std::wstring lockPath = LockPath(systemPath);
    for (;;) {
        Handle file(::CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
        if (!file.valid()) {
            const DWORD error = ::GetLastError();
            // A holder letting go deletes the file, which refuses new opens until its last
            // handle closes: that is the lock changing hands, not a folder we may not write.
            const DWORD there = ::GetFileAttributesW(lockPath.c_str());
            const bool leaving = error == ERROR_ACCESS_DENIED && there != INVALID_FILE_ATTRIBUTES &&
                                 (there & FILE_ATTRIBUTE_DIRECTORY) == 0;
            if (!leaving || PastDeadline(deadline)) {
                status = leaving ? LockHeldElsewhere() : win32::FromError(error);
                return nullptr;
            }
            std::this_thread::sleep_for(kRetryEvery);
            continue;
        }
        // A link at the lock's name is not followed, and only a plain file is taken.
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(file.get(), &info) ||
            (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) !=
                0) {
            status = Status::Failed(
                StatusCode::SpecialFile,
                std::string(kLockFileWords) + win32::Narrow(lockPath) + " is a link or a folder");
            return nullptr;
        }
        OVERLAPPED whole{};
        const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (deadline ? LOCKFILE_FAIL_IMMEDIATELY : 0);
        if (!::LockFileEx(file.get(), flags, 0, 1, 0, &whole)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
                status = win32::FromError(error);
                return nullptr;
            }
            if (PastDeadline(deadline)) {
                status = LockHeldElsewhere();
                return nullptr;
            }
            std::this_thread::sleep_for(kRetryEvery);
            continue;
        }
        // The holder before us deletes the lock file as it lets go: a lock on a file no longer
        // at the path locks nothing, so try again with the one there now.
        if (SameFile(file.get(), lockPath)) {
            const int fd = win32::ToDescriptor(file.release(), _O_RDWR);
            if (fd < 0) {
                status = Status::FromErrno(EMFILE);
                return nullptr;
            }
            status = Status::Ok();
            return Make(fd, win32::Narrow(lockPath));
        }
    }
}

FileLock::~FileLock() {
    // Deleted while still locked, so that nobody takes a lock on a file about to go.
    ::DeleteFileW(win32::Wide(path_).c_str());
    ::_close(fd_);
}

}  // namespace kantoria
