// Looks whether the files of many entries are there, off the caller's thread, without ever
// letting a file system that does not answer hold the caller or pile up threads.
//
// A few workers ask the probe one path each. A path whose answer has not come after the
// patience is answered Unknown and its worker is given up (left to return whenever the file
// system lets it) and replaced. At most maxStuck workers are given up at a time, counting
// the ones still looking: once that many are stuck, the paths left are answered Unknown
// without asking, until one of them comes back.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

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
    explicit PresenceChecker(std::shared_ptr<PathProbe> probe, PresenceCheckLimits limits = {});
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
    // Threads the checker has started that have not ended, given-up ones included.
    int Threads() const;

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace kantoria
