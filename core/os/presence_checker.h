// Looks whether the files of many entries are there, off the caller's thread, without ever
// letting a file system that does not answer hold the caller, the program's end, or the paths
// on other file systems.
//
// A few workers ask the probe one path each. A path whose answer has not come after the
// patience is answered Unknown and its look is given up. Looks that may block inside the
// kernel run in helper processes, which are killed and left behind when stuck (a thread held
// there could not even be killed, and would keep the program from ending); elsewhere, and
// where the system has no helper processes (Windows), the look runs on the worker's thread,
// which is given up (left to return whenever the file system lets it) and replaced.
//
// Stuck looks are bounded per mount, found from the mount table without touching the path:
// at most maxStuck looks of one mount are risked at a time, counting the ones still stuck;
// once that many are stuck, the mount's paths are answered Unknown without asking, until one
// of them comes back. Paths no mount holds (relative ones, or all of them where there is no
// mount table) count as one mount.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "core/os/mount_table.h"
#include "core/os/path_probe.h"

namespace kantoria {

struct PresenceCheckLimits {
    int workers = 4;
    std::chrono::milliseconds patience{2000};
    int maxStuck = 4;
};

struct PresenceResult {
    std::string path;
    Presence presence = Presence::Unknown;
};

class PresenceChecker {
  public:
    // mounts: the mount table paths are judged by; null: the system's, read at each Enqueue.
    explicit PresenceChecker(std::shared_ptr<PathProbe> probe, PresenceCheckLimits limits = {},
                             std::shared_ptr<const MountTable> mounts = nullptr);
    // Never waits for the file system: a look still under way is given up.
    ~PresenceChecker();
    PresenceChecker(const PresenceChecker&) = delete;
    PresenceChecker& operator=(const PresenceChecker&) = delete;

    // Queues paths (program text) behind those already queued.
    void Enqueue(std::vector<std::string> paths);
    // Forgets the paths not yet taken by a worker.
    void DropQueued();
    // The answers that came since the last call, in the order they came.
    std::vector<PresenceResult> TakeResults();
    // Whether a path is queued or being looked at.
    bool Busy() const;
    // Blocks until nothing is queued or being looked at, at most about the patience per
    // round of workers.
    void WaitUntilIdle();
    // Threads and helper processes the checker has started that have not ended, given-up
    // ones included.
    int Threads() const;

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace kantoria
