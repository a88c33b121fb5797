// The Windows shell: a folder opens in Explorer ("explore"), a file in the program associated
// with its type ("open"), as the Windows program did. No command shell comes between.
#include <windows.h>
// The shell's header needs the types windows.h declares.
#include <shellapi.h>

#include "core/os/win32/wide.h"
#include "platform/system_desktop_shell.h"

namespace kantoria {
namespace {

// ShellExecuteW answers a number above 32 on success, else one of the SE_ERR_ codes.
Status Outcome(HINSTANCE result) {
    const auto code = reinterpret_cast<INT_PTR>(result);
    if (code > 32) return Status::Ok();
    switch (code) {
        case SE_ERR_NOASSOC:
        case SE_ERR_ASSOCINCOMPLETE:
            return Status::Failed(StatusCode::NoProgram, "no program is associated with it");
        case SE_ERR_FNF:
        case SE_ERR_PNF:
            return win32::FromError(ERROR_FILE_NOT_FOUND);
        case SE_ERR_ACCESSDENIED:
            return win32::FromError(ERROR_ACCESS_DENIED);
        default:
            return win32::LastError();
    }
}

Status Launch(const wchar_t* verb, std::string_view path, bool folder, const char* missing) {
    const std::wstring name = win32::Wide(path);
    // The shell would start and complain on its own; a missing target is our failure.
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (folder && !(attributes & FILE_ATTRIBUTE_DIRECTORY)))
        return Status::Failed(StatusCode::NotFound, missing);
    return Outcome(::ShellExecuteW(nullptr, verb, name.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

class Win32DesktopShell final : public DesktopShell {
  public:
    Status OpenFolder(std::string_view folder) override {
        return Launch(L"explore", folder, true, "no such folder");
    }
    Status OpenFile(std::string_view file) override {
        return Launch(L"open", file, false, "no such file");
    }
    Status OpenUrl(std::string_view url) override {
        return Outcome(::ShellExecuteW(nullptr, L"open", win32::Wide(url).c_str(), nullptr, nullptr,
                                       SW_SHOWNORMAL));
    }
};

}  // namespace

std::unique_ptr<DesktopShell> CreateDesktopShell() {
    return std::make_unique<Win32DesktopShell>();
}

}  // namespace kantoria
