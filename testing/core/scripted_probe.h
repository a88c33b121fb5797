// A file system for the presence checker that answers by the file name's first letter, and can
// hang like a network mount that no longer answers.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>

#include "core/os/path_probe.h"

namespace kantoria::test {

// The name's first letter: m missing, h hangs until Release, anything else present. One that
// blocks in the kernel is run in helper processes, where it hangs until killed.
class ScriptedProbe final : public PathProbe {
  public:
    bool blocksInKernel = false;
    bool BlocksInKernel() const override { return blocksInKernel; }
    Presence Look(const std::string& path) override {
        std::unique_lock lock(mutex_);
        ++calls_;
        ++inside_;
        mostInside_ = std::max(mostInside_, inside_);
        const char kind = path[path.find_last_of("/\\") + 1];  // after no separator: the first
        if (kind == 'h') released_.wait(lock, [&] { return released; });
        --inside_;
        return kind == 'm' ? Presence::Missing : Presence::Present;
    }
    void Release() {
        const std::lock_guard lock(mutex_);
        released = true;
        released_.notify_all();
    }
    int Calls() {
        const std::lock_guard lock(mutex_);
        return calls_;
    }
    int MostInside() {
        const std::lock_guard lock(mutex_);
        return mostInside_;
    }
    int Inside() {
        const std::lock_guard lock(mutex_);
        return inside_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool released = false;
    int calls_ = 0, inside_ = 0, mostInside_ = 0;
};

}  // namespace kantoria::test
