#include "core/os/presence_checker.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "core/os/helper_process.h"

namespace kantoria {

using Clock = std::chrono::steady_clock;

namespace {

// How often helpers left behind are looked at, to see whether their file system let go.
constexpr std::chrono::milliseconds kReapInterval{100};
// A mount that held a helper past its deadline rests at least this many patiences before it
// is asked again, even if killing ended the helper: that the kill got through does not mean
// the file system answers again.
constexpr int kRestInPatiences = 5;

struct LeftBehind {
    int mount;
    Clock::time_point rested;
    std::unique_ptr<HelperProcess> helper;
};

// One worker's look in progress.
struct Look {
    bool busy = false;
    bool givenUp = false;
    bool inHelper = false;  // the worker waits for the helper's answer itself, until the deadline
    Clock::time_point deadline;
    std::string path;
    int mount = -1;
};

struct Queued {
    std::uint64_t order;  // paths are looked at in the order they came, whatever their mount
    std::string path;
};

// The looks at one mount.
struct MountLooks {
    std::deque<Queued> queue;
    int busy = 0;
    int stuck = 0;  // given up and not come back
};

std::string Encode(Presence presence) {
    return presence == Presence::Present ? "p" : presence == Presence::Missing ? "m" : "u";
}

Presence Decode(const std::string& answer) {
    if (answer == "p") return Presence::Present;
    if (answer == "m") return Presence::Missing;
    return Presence::Unknown;
}

}  // namespace

struct PresenceChecker::State {
    std::shared_ptr<PathProbe> probe;
    PresenceCheckLimits limits;
    std::shared_ptr<const MountTable> mountTable;
    bool useHelpers = false;
    HelperProcess::Serve serve;
    mutable std::mutex mutex;
    std::condition_variable changed;  // work, answers, threads ending: everyone re-reads
    std::map<int, MountLooks> mounts;
    std::uint64_t nextOrder = 0;
    std::size_t queued = 0;
    std::vector<PresenceResult> results;
    std::vector<std::shared_ptr<Look>> looks;  // one per live worker
    int busyLooks = 0;
    int threads = 0;       // live workers and the watchdog
    int stuckThreads = 0;  // given-up workers still inside the probe
    int helpers = 0;       // helper processes held by workers or left behind, not ended
    std::vector<LeftBehind> leftBehind;
    bool stopping = false;

    // Threads are detached from the start and own the state with the checker, so that one
    // stuck in the probe outlives the checker harmlessly.
    static void StartWorker(const std::shared_ptr<State>& self) {
        auto look = std::make_shared<Look>();
        self->looks.push_back(look);
        ++self->threads;
        std::thread([self, look] { self->Work(look); }).detach();
    }

    void Answer(std::string path, Presence presence) {
        results.push_back({std::move(path), presence});
    }

    // A mount with as many looks stuck as may be risked gets its paths answered unasked.
    void AnswerHungMounts() {
        bool answered = false;
        for (auto& [id, mount] : mounts) {
            if (mount.stuck < limits.maxStuck || mount.queue.empty()) continue;
            for (Queued& q : mount.queue) Answer(std::move(q.path), Presence::Unknown);
            queued -= mount.queue.size();
            mount.queue.clear();
            answered = true;
        }
        if (answered) changed.notify_all();
    }

    // The mount whose next path came first among those with room for one more look.
    MountLooks* NextMount(int& id) {
        MountLooks* next = nullptr;
        for (auto& [key, mount] : mounts) {
            if (mount.queue.empty() || mount.stuck + mount.busy >= limits.maxStuck) continue;
            if (!next || mount.queue.front().order < next->queue.front().order) {
                next = &mount;
                id = key;
            }
        }
        return next;
    }

    void Work(const std::shared_ptr<Look>& look) {
        std::unique_ptr<HelperProcess> helper;
        std::unique_lock lock(mutex);
        // Ends the worker's helper, which waits idle for a request, outside the lock.
        auto endHelper = [&] {
            lock.unlock();
            helper.reset();
            lock.lock();
            --helpers;
        };
        while (!stopping) {
            AnswerHungMounts();
            int id = -1;
            MountLooks* mount = NextMount(id);
            if (!mount) {
                // A round of work is over: the helper, a copy of the program, ends with it.
                if (helper && queued == 0)
                    endHelper();
                else
                    changed.wait(lock);
                continue;
            }
            std::string path = std::move(mount->queue.front().path);
            mount->queue.pop_front();
            --queued;
            ++mount->busy;
            ++busyLooks;
            if (useHelpers && !helper) {
                lock.unlock();
                helper = HelperProcess::Start(serve);
                lock.lock();
                if (helper) ++helpers;
            }
            if (stopping) {
                --mounts[id].busy;
                --busyLooks;
                break;
            }
            look->busy = true;
            look->mount = id;
            look->path = path;
            // Without a helper (none can be made) the look runs here, watched as on Windows.
            look->inHelper = helper != nullptr;
            const Clock::time_point deadline = Clock::now() + limits.patience;
            look->deadline = deadline;
            changed.notify_all();  // the watchdog has a new deadline
            lock.unlock();
            // No answer from a helper: it is stuck, or died; either way it is left behind.
            std::optional<Presence> presence;
            if (!helper)
                presence = probe->Look(path);
            else if (const std::optional<std::string> answer = helper->Ask(path, deadline))
                presence = Decode(*answer);
            lock.lock();
            if (look->givenUp) {
                --mounts[id].stuck;
                --stuckThreads;
                changed.notify_all();
                break;
            }
            look->busy = false;
            --busyLooks;
            --mounts[id].busy;
            if (!presence) {
                ++mounts[id].stuck;
                leftBehind.push_back(
                    {id, Clock::now() + kRestInPatiences * limits.patience, std::move(helper)});
            }
            Answer(std::move(path), presence.value_or(Presence::Unknown));
            changed.notify_all();
        }
        if (helper) endHelper();
        if (!look->givenUp) {
            std::erase(looks, look);
            --threads;
        }
        changed.notify_all();
    }

    void GiveUp(const std::shared_ptr<Look>& look) {
        look->givenUp = true;
        --busyLooks;
        --mounts[look->mount].busy;
        ++mounts[look->mount].stuck;
        ++stuckThreads;
        --threads;
        std::erase(looks, look);
    }

    // Gives up the looks on threads that overran their deadline, and counts the helpers left
    // behind that have ended as come back.
    void Watch(const std::shared_ptr<State>& self) {
        std::unique_lock lock(mutex);
        while (!stopping) {
            Clock::time_point next = Clock::time_point::max();
            for (const auto& look : looks)
                if (look->busy && !look->inHelper) next = std::min(next, look->deadline);
            if (!leftBehind.empty()) next = std::min(next, Clock::now() + kReapInterval);
            if (next == Clock::time_point::max()) {
                changed.wait(lock);
                continue;
            }
            changed.wait_until(lock, next);
            const Clock::time_point now = Clock::now();
            const std::vector<std::shared_ptr<Look>> live = looks;
            for (const auto& look : live) {
                if (!look->busy || look->inHelper || look->deadline > now) continue;
                GiveUp(look);
                Answer(look->path, Presence::Unknown);
                StartWorker(self);
            }
            std::erase_if(leftBehind, [&](LeftBehind& left) {
                if (left.rested > now || left.helper->Stuck()) return false;
                --mounts[left.mount].stuck;
                --helpers;
                return true;
            });
            changed.notify_all();
        }
        --threads;
        changed.notify_all();
    }

    bool Busy() const { return queued > 0 || busyLooks > 0; }
};

PresenceChecker::PresenceChecker(std::shared_ptr<PathProbe> probe, PresenceCheckLimits limits,
                                 std::shared_ptr<const MountTable> mounts)
    : state_(std::make_shared<State>()) {
    state_->probe = std::move(probe);
    state_->limits = limits;
    state_->limits.workers = std::max(1, limits.workers);
    state_->limits.maxStuck = std::max(1, limits.maxStuck);
    state_->mountTable = std::move(mounts);
    state_->useHelpers = state_->probe->BlocksInKernel();
    state_->serve = [probe = state_->probe](std::string_view path) {
        return Encode(probe->Look(std::string(path)));
    };
    const std::lock_guard lock(state_->mutex);
    for (int i = 0; i < state_->limits.workers; ++i) State::StartWorker(state_);
    ++state_->threads;
    std::thread([self = state_] { self->Watch(self); }).detach();
}

PresenceChecker::~PresenceChecker() {
    std::unique_lock lock(state_->mutex);
    state_->stopping = true;
    for (auto& [id, mount] : state_->mounts) mount.queue.clear();
    state_->queued = 0;
    for (const auto& look : std::vector(state_->looks))
        if (look->busy) state_->GiveUp(look);
    state_->changed.notify_all();
    state_->changed.wait(lock, [&] { return state_->threads == 0; });
}

void PresenceChecker::Enqueue(std::vector<std::string> paths) {
    const MountTable system = state_->mountTable ? MountTable() : ReadSystemMountTable();
    const MountTable& table = state_->mountTable ? *state_->mountTable : system;
    std::vector<int> mounts;
    mounts.reserve(paths.size());
    for (const std::string& path : paths) mounts.push_back(table.Find(path).id);
    const std::lock_guard lock(state_->mutex);
    for (std::size_t i = 0; i < paths.size(); ++i)
        state_->mounts[mounts[i]].queue.push_back({state_->nextOrder++, std::move(paths[i])});
    state_->queued += paths.size();
    state_->changed.notify_all();
}

void PresenceChecker::DropQueued() {
    const std::lock_guard lock(state_->mutex);
    for (auto& [id, mount] : state_->mounts) mount.queue.clear();
    state_->queued = 0;
    state_->changed.notify_all();
}

std::vector<PresenceResult> PresenceChecker::TakeResults() {
    const std::lock_guard lock(state_->mutex);
    return std::exchange(state_->results, {});
}

bool PresenceChecker::Busy() const {
    const std::lock_guard lock(state_->mutex);
    return state_->Busy();
}

void PresenceChecker::WaitUntilIdle() {
    std::unique_lock lock(state_->mutex);
    state_->changed.wait(lock, [&] { return !state_->Busy(); });
}

int PresenceChecker::Threads() const {
    const std::lock_guard lock(state_->mutex);
    return state_->threads + state_->stuckThreads + state_->helpers;
}

}  // namespace kantoria
