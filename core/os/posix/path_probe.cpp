#include "core/os/path_probe.h"

#include <sys/stat.h>

#include "core/text/text_codec.h"

namespace kantoria {
namespace {

class PosixPathProbe final : public PathProbe {
  public:
    bool BlocksInKernel() const override { return true; }
    Presence Look(const std::string& path) override {
        // C:\..., \\server\... and relative paths name nothing here.
        if (path.empty() || path.front() != '/') return Presence::Missing;
        struct stat st {};
        // Anything that stops the look (not there, no permission on a folder above it) means
        // the entry cannot be opened from here, which is what the mark tells the user.
        return ::stat(ToSystemName(path).c_str(), &st) == 0 ? Presence::Present : Presence::Missing;
    }
};

}  // namespace

std::shared_ptr<PathProbe> MakeSystemPathProbe() {
    return std::make_shared<PosixPathProbe>();
}

}  // namespace kantoria
