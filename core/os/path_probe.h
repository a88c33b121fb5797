// Whether the file or folder an entry names is there, asked of the file system one path at a
// time. Behind an interface so that a test can stand in a file system that answers late or
// never, as a hung network mount does.
#pragma once

#include <memory>
#include <string>

namespace kantoria {

enum class Presence {
    Present,
    Missing,
    Unknown,  // the file system did not answer in time
};

class PathProbe {
  public:
    virtual ~PathProbe() = default;
    // path is program text. May block for as long as the file system does; called from
    // several threads at once.
    virtual Presence Look(const std::string& path) = 0;
    // Whether a look may block inside the kernel, where a file system that does not answer
    // holds the thread beyond the reach of any signal. Such looks are made in helper
    // processes where the system has them.
    virtual bool BlocksInKernel() const { return false; }
};

// The system the program runs on. A path this system cannot name (a drive letter or a share
// of another system, or a relative path, which would depend on where the program started)
// is missing without asking the file system.
std::shared_ptr<PathProbe> MakeSystemPathProbe();

}  // namespace kantoria
