// Handing a file or folder to the desktop: a folder opens in the file manager, a file in the
// program its type is associated with. Never through a command shell.
#pragma once

#include <string_view>

#include "core/base/status.h"

namespace kantoria {

class DesktopShell {
  public:
    virtual ~DesktopShell() = default;
    virtual Status OpenFolder(std::string_view folder) = 0;
    virtual Status OpenFile(std::string_view file) = 0;
    // Opens a web or file:// address with the desktop's program for it (the help pages).
    virtual Status OpenUrl(std::string_view url) = 0;
};

}  // namespace kantoria
