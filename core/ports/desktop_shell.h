// Handing a file or folder to the desktop: a folder opens in the file manager, a file in the
// program its type is associated with. Never through a command shell.
#pragma once

#include <string>
#include <string_view>

namespace kantoria {

struct ShellResult {
    bool ok = false;
    std::string reason;  // why it failed, in the system's words; empty on success
};

class DesktopShell {
  public:
    virtual ~DesktopShell() = default;
    virtual ShellResult OpenFolder(std::string_view folder) = 0;
    virtual ShellResult OpenFile(std::string_view file) = 0;
    // Opens a web or file:// address with the desktop's program for it (the help pages).
    virtual ShellResult OpenUrl(std::string_view url) = 0;
};

}  // namespace kantoria
