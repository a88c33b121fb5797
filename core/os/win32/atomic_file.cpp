#include "core/os/atomic_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <string>

#include "core/os/save_names.h"
#include "core/os/win32/file_stamp.h"
#include "core/os/win32/wide.h"

namespace kantoria {
namespace {

using win32::Handle;
using win32::Wide;

// The folder part of path with its separator, or "" for a bare name.
std::wstring FolderOf(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos)
        return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : L"";
    return path.substr(0, cut + 1);
}

std::wstring NameOf(const std::wstring& path) {
    return path.substr(FolderOf(path).size());
}

// Where a symbolic link finally leads, so that the save replaces the file and keeps the link.
std::wstring ThroughLinks(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    const Handle file(win32::OpenForQuery(path));
    if (!file.valid()) return path;
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetFinalPathNameByHandleW(file.get(), final.data(),
                                                    static_cast<DWORD>(final.size()), 0);
        if (n == 0) return path;
        if (n < final.size()) {
            final.resize(n);
            break;
        }
        final.resize(n);
    }
    if (final.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + final.substr(8);
    if (final.starts_with(L"\\\\?\\")) return final.substr(4);
    return final;
}

// ".<name>.tmp<pid>-<counter>-<ticks>", as on every system.
std::wstring TempName(const std::wstring& finalName) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return L"." + finalName + Wide(kSaveTempMark) + std::to_wstring(::GetCurrentProcessId()) +
           L"-" + std::to_wstring(counter++) + L"-" + std::to_wstring(ticks % 100000);
}

// A writer keeps its temporary file open without letting others delete it, so only the file of
// a writer that is gone can be deleted: Windows closes a dead process's handles.
void RemoveDeadTemps(const std::wstring& folder, const std::wstring& finalName) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = folder + L"." + finalName + Wide(kSaveTempMark) + L"*";
    const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return;
    const std::string name = win32::Narrow(finalName);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsSaveTempName(win32::Narrow(found.cFileName), name))
            ::DeleteFileW((folder + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

HANDLE OpenTemp(const std::wstring& folder, const std::wstring& finalName, std::wstring& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = folder + TempName(finalName);
        const HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

std::unique_ptr<AtomicFile> AtomicFile::Create(const std::string& target, Status& status,
                                               Temp /*temp*/) {
    // Windows has no file without a name: every temporary file is named, and one left by a
    // killed writer is removed by the next save of the same file.
    const std::wstring finalPath = ThroughLinks(Wide(target));
    const DWORD attributes = ::GetFileAttributesW(finalPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            status = win32::NotRegularFileStatus(true);
            return nullptr;
        }
        // The replacement would take the place of whatever stands there: refuse where writing
        // the file in place would fail (a read-only file, one the user may not write, a device).
        // The read-only attribute binds administrators too.
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            status = win32::FromError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        const Handle existing(::CreateFileW(finalPath.c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
        if (!existing.valid()) {
            status = win32::LastError();
            return nullptr;
        }
        if (::GetFileType(existing.get()) != FILE_TYPE_DISK) {
            status = win32::NotRegularFileStatus(false);
            return nullptr;
        }
    }
    const std::wstring folder = FolderOf(finalPath);
    RemoveDeadTemps(folder, NameOf(finalPath));
    std::wstring tempPath;
    const HANDLE file = OpenTemp(folder, NameOf(finalPath), tempPath);
    if (file == INVALID_HANDLE_VALUE) {
        status = win32::LastError();
        return nullptr;
    }
    const int fd = win32::ToDescriptor(file, _O_WRONLY);
    if (fd < 0) {
        ::DeleteFileW(tempPath.c_str());
        status = Status::FromErrno(EMFILE);
        return nullptr;
    }
    status = Status::Ok();
    return std::unique_ptr<AtomicFile>(
        new AtomicFile(fd, win32::Narrow(tempPath), win32::Narrow(finalPath)));
}

AtomicFile::AtomicFile(int fd, std::string tempPath, std::string finalPath)
    : fd_(fd), tempPath_(std::move(tempPath)), finalPath_(std::move(finalPath)) {}

AtomicFile::~AtomicFile() {
    if (!committed_) Discard();
}

void AtomicFile::Discard() {
    if (fd_ >= 0) ::_close(fd_);
    fd_ = -1;
    if (!tempPath_.empty()) ::DeleteFileW(Wide(tempPath_).c_str());
}

bool AtomicFile::Write(std::string_view bytes) {
    if (!status_) return false;
    const HANDLE file = win32::FromDescriptor(fd_);
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD n = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &n, nullptr)) {
            status_ = win32::LastError();
            return false;
        }
        bytes.remove_prefix(n);
    }
    return true;
}

Status AtomicFile::Commit() {
    if (!status_) return status_;
    if (!::FlushFileBuffers(win32::FromDescriptor(fd_))) {
        status_ = win32::LastError();
        return status_;
    }
    ::_close(fd_);
    fd_ = -1;
    const std::wstring temp = Wide(tempPath_);
    const std::wstring final = Wide(finalPath_);
    // ReplaceFileW gives the new file the old one's attributes, security and creation time;
    // a file that is not there yet is simply moved into place. Either is one rename.
    // The attributes are given to the new file beforehand too, for a move and for systems
    // whose ReplaceFileW does not carry them (Wine's).
    const DWORD attributes = ::GetFileAttributesW(final.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesW(
            temp.c_str(),
            attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    bool replaced = attributes != INVALID_FILE_ATTRIBUTES &&
                    ::ReplaceFileW(final.c_str(), temp.c_str(), nullptr,
                                   REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (!replaced)
        replaced = ::MoveFileExW(temp.c_str(), final.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) {
        status_ = win32::LastError();
        return status_;
    }
    committed_ = true;
    return Status::Ok();
}

}  // namespace kantoria
