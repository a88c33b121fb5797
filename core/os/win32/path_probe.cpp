#include "core/os/path_probe.h"

#include <windows.h>

#include "core/os/win32/wide.h"

namespace kantoria {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// "C:\..." or "\\server\share\...": a path that names the same file wherever the program
// started.
bool IsAbsolute(const std::string& path) {
    const bool drive = path.size() >= 3 &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && IsSeparator(path[2]);
    const bool share = path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]);
    return drive || share;
}

class Win32PathProbe final : public PathProbe {
  public:
    bool BlocksInKernel() const override { return true; }
    Presence Look(const std::string& path) override {
        // A POSIX path (/home/...) and a relative one name nothing here.
        if (!IsAbsolute(path)) return Presence::Missing;
        return ::GetFileAttributesW(win32::Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES
                   ? Presence::Present
                   : Presence::Missing;
    }
};

}  // namespace

std::shared_ptr<PathProbe> MakeSystemPathProbe() {
    return std::make_shared<Win32PathProbe>();
}

}  // namespace kantoria
