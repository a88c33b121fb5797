#include "core/os/folder_lister.h"

#include <windows.h>

#include "core/os/win32/wide.h"

namespace kantoria {
namespace {

using win32::Handle;
using win32::Narrow;
using win32::Wide;

bool IsDots(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

std::wstring WithSeparator(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/' &&
        !(folder.size() == 2 && folder[1] == L':'))
        folder += L'\\';
    return folder;
}

// The extended form of a final path back to the form a user writes.
std::wstring Plain(std::wstring path) {
    if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
    if (path.starts_with(L"\\\\?\\")) return path.substr(4);
    return path;
}

class Win32FolderLister final : public FolderLister {
  public:
    Status List(const std::string& folder, std::vector<FolderItem>& items, FolderId& id) override {
        items.clear();
        const std::wstring base = WithSeparator(Wide(folder));
        // The folder's identity, however it was reached (through a junction or a link): the
        // volume and the file index, as a device and an inode.
        const Handle opened(win32::OpenForQuery(base.empty() ? L"." : base));
        BY_HANDLE_FILE_INFORMATION info{};
        if (!opened.valid() || !::GetFileInformationByHandle(opened.get(), &info))
            return win32::LastError();
        if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return win32::FromError(ERROR_DIRECTORY);
        id = {info.dwVolumeSerialNumber,
              (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
        WIN32_FIND_DATAW found{};
        const HANDLE search =
            ::FindFirstFileExW((base + L"*").c_str(), FindExInfoBasic, &found,
                               FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (search == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            return error == ERROR_FILE_NOT_FOUND ? Status::Ok() : win32::FromError(error);
        }
        do {
            if (!IsDots(found.cFileName)) items.push_back(Describe(base, found));
        } while (::FindNextFileW(search, &found));
        const DWORD error = ::GetLastError();
        ::FindClose(search);
        if (error != ERROR_NO_MORE_FILES) return win32::FromError(error);
        return Status::Ok();
    }

    Status ResolvePath(const std::string& path, std::string& resolved) override {
        const Handle opened(win32::OpenForQuery(Wide(path)));
        if (!opened.valid()) return win32::LastError();
        std::wstring final(MAX_PATH, L'\0');
        for (;;) {
            const DWORD n = ::GetFinalPathNameByHandleW(opened.get(), final.data(),
                                                        static_cast<DWORD>(final.size()), 0);
            if (n == 0) return win32::LastError();
            const bool fits = n < final.size();
            final.resize(n);
            if (fits) break;
        }
        resolved = Narrow(Plain(final));
        return Status::Ok();
    }

    char Separator() const override { return '\\'; }

  private:
    // A symbolic link or a junction is a link; it is a folder when what it leads to is one.
    static FolderItem Describe(const std::wstring& base, const WIN32_FIND_DATAW& found) {
        FolderItem item;
        item.name = Narrow(found.cFileName);
        item.isLink = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                      (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK ||
                       found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
        item.isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (item.isLink) {
            const Handle target(win32::OpenForQuery(base + found.cFileName));
            BY_HANDLE_FILE_INFORMATION info{};
            item.isFolder = target.valid() && ::GetFileInformationByHandle(target.get(), &info) &&
                            (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        }
        return item;
    }
};

}  // namespace

std::unique_ptr<FolderLister> MakeSystemFolderLister() {
    return std::make_unique<Win32FolderLister>();
}

}  // namespace kantoria
