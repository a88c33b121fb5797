// The crossing between the program's text and Windows' UTF-16, and Windows' failures.
//
// The program holds UTF-8; Windows names are UTF-16 and may hold a lone surrogate. Each unit
// crosses as WTF-8 (UTF-8 that also spells a lone surrogate in three bytes), so every name
// Windows can hold comes back exactly. The escape the program keeps for an undecodable byte is
// such a lone surrogate (U+DC00 + byte), so it goes to Windows as that unit and back unchanged.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/status.h"

namespace kantoria::win32 {

std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view wide);

// The code for the failure and Windows' own words for it.
Status FromError(DWORD error);
inline Status LastError() {
    return FromError(::GetLastError());
}

// A handle closed when it goes.
class Handle {
  public:
    Handle() = default;
    explicit Handle(HANDLE h) : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (valid()) ::CloseHandle(h_);
    }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }
    HANDLE release() {
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return h;
    }

  private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

// Opens path only to ask about it (any file or folder, whatever its sharing), following links.
HANDLE OpenForQuery(const std::wstring& path);

// Nanoseconds since 1970 of a FILETIME.
std::int64_t UnixNs(const FILETIME& time);

// The file behind a handle as a C runtime descriptor, which takes over the handle: the
// descriptor is what the system-independent headers hold. -1 when the runtime refuses.
int ToDescriptor(HANDLE handle, int flags);
HANDLE FromDescriptor(int fd);

}  // namespace kantoria::win32
