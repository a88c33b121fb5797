#include "core/os/system_path.h"

#include "core/os/win32/wide.h"

namespace kantoria {

// std::filesystem on Windows holds UTF-16: built from a plain string it would read the bytes
// in the ANSI code page.
std::filesystem::path SystemPath(std::string_view text) {
    return std::filesystem::path(win32::Wide(text));
}

std::string PathText(const std::filesystem::path& path) {
    return win32::Narrow(path.native());
}

}  // namespace kantoria
