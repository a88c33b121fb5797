#include "core/os/presence_checker.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace kantoria {

using Clock = std::chrono::steady_clock;

namespace {

// One worker's look in progress.
struct Look {
    bool busy = false;
    bool givenUp = false;
    Clock::time_point deadline;
    std::string path;
};

}  // namespace

struct PresenceChecker::State {
    std::shared_ptr<PathProbe> probe;
    PresenceCheckLimits limits;
    mutable std::mutex mutex;
    std::condition_variable changed;  // work, answers, threads ending: everyone re-reads
    std::deque<std::string> queue;
    std::vector<PresenceResult> results;
    std::vector<std::shared_ptr<Look>> looks;  // one per live worker
    int busyLooks = 0;
    int stuck = 0;    // given-up workers still inside the probe
    int threads = 0;  // live workers and the watchdog
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

    void Work(const std::shared_ptr<Look>& look) {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] {
                if (stopping) return true;
                if (queue.empty()) return false;
                // Either there is room for one more look, or none can be risked at all.
                return stuck >= limits.maxStuck || stuck + busyLooks < limits.maxStuck;
            });
            if (stopping) break;
            std::string path = std::move(queue.front());
            queue.pop_front();
            if (stuck >= limits.maxStuck) {
                Answer(std::move(path), Presence::Unknown);
                changed.notify_all();
                continue;
            }
            look->busy = true;
            look->deadline = Clock::now() + limits.patience;
            look->path = path;
            ++busyLooks;
            changed.notify_all();  // the watchdog has a new deadline
            lock.unlock();
            const Presence presence = probe->Look(path);
            lock.lock();
            if (look->givenUp) {
                --stuck;
                changed.notify_all();
                return;
            }
            look->busy = false;
            --busyLooks;
            Answer(std::move(path), presence);
            changed.notify_all();
        }
        std::erase(looks, look);
        --threads;
        changed.notify_all();
    }

    void GiveUp(const std::shared_ptr<Look>& look) {
        look->givenUp = true;
        --busyLooks;
        ++stuck;
        --threads;
        std::erase(looks, look);
    }

    void Watch(const std::shared_ptr<State>& self) {
        std::unique_lock lock(mutex);
        while (!stopping) {
            Clock::time_point next = Clock::time_point::max();
            for (const auto& look : looks)
                if (look->busy) next = std::min(next, look->deadline);
            if (next == Clock::time_point::max()) {
                changed.wait(lock);
                continue;
            }
            changed.wait_until(lock, next);
            const Clock::time_point now = Clock::now();
            const std::vector<std::shared_ptr<Look>> live = looks;
            for (const auto& look : live) {
                if (!look->busy || look->deadline > now) continue;
                GiveUp(look);
                Answer(look->path, Presence::Unknown);
                StartWorker(self);
            }
            changed.notify_all();
        }
        --threads;
        changed.notify_all();
    }

    bool Busy() const { return !queue.empty() || busyLooks > 0; }
};

PresenceChecker::PresenceChecker(std::shared_ptr<PathProbe> probe, PresenceCheckLimits limits)
    : state_(std::make_shared<State>()) {
    state_->probe = std::move(probe);
    state_->limits = limits;
    state_->limits.workers = std::max(1, limits.workers);
    state_->limits.maxStuck = std::max(1, limits.maxStuck);
    const std::lock_guard lock(state_->mutex);
    for (int i = 0; i < state_->limits.workers; ++i) State::StartWorker(state_);
    ++state_->threads;
    std::thread([self = state_] { self->Watch(self); }).detach();
}

PresenceChecker::~PresenceChecker() {
    std::unique_lock lock(state_->mutex);
    state_->stopping = true;
    state_->queue.clear();
    for (const auto& look : std::vector(state_->looks))
        if (look->busy) state_->GiveUp(look);
    state_->changed.notify_all();
    state_->changed.wait(lock, [&] { return state_->threads == 0; });
}

void PresenceChecker::Enqueue(std::vector<std::string> paths) {
    const std::lock_guard lock(state_->mutex);
    for (std::string& path : paths) state_->queue.push_back(std::move(path));
    state_->changed.notify_all();
}

void PresenceChecker::DropQueued() {
    const std::lock_guard lock(state_->mutex);
    state_->queue.clear();
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
    return state_->threads + state_->stuck;
}

}  // namespace kantoria
