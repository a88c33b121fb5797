#include "core/os/environment.h"

#include <cstdlib>

#include "core/os/win32/wide.h"

namespace kantoria {

std::optional<std::string> ProcessEnvironment::Get(std::string_view name) const {
    // A name with a NUL could only be looked up cut short, which would answer for another
    // variable.
    if (name.find('\0') != std::string_view::npos) return std::nullopt;
    // The wide environment: the narrow one holds the ANSI code page's rendering.
    const wchar_t* value = ::_wgetenv(win32::Wide(name).c_str());
    if (value == nullptr) return std::nullopt;
    return win32::Narrow(value);
}

}  // namespace kantoria
