#include "core/views/presence_tracker.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kantoria {
namespace {

using namespace std::chrono_literals;
using Paths = std::vector<std::string>;

// A file system that records what it is asked, in order: names starting with m are missing,
// with h hang until released, the rest are there.
class RecordingProbe final : public PathProbe {
  public:
    Presence Look(const std::string& path) override {
        std::unique_lock lock(mutex_);
        asked_.push_back(path);
        if (path[0] == 'h') released_.wait(lock, [&] { return released; });
        return path[0] == 'm' ? Presence::Missing : Presence::Present;
    }
    void Release() {
        const std::lock_guard lock(mutex_);
        released = true;
        released_.notify_all();
    }
    Paths TakeAsked() {
        const std::lock_guard lock(mutex_);
        return std::exchange(asked_, {});
    }

  private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool released = false;
    Paths asked_;
};

// One worker, so that the file system is asked in the order the tracker queued.
struct Rig {
    explicit Rig(const Paths& paths, int workers = 1)
        : checker(new PresenceChecker(probe, {.workers = workers, .patience = 10s})),
          tracker(std::unique_ptr<PresenceChecker>(checker)) {
        for (const std::string& path : paths) entries.Append(path, path, "");
    }
    std::vector<EntryRef> Rows(const std::vector<int>& places) const {
        std::vector<EntryRef> all, rows;
        for (const Entry& e : entries) all.push_back(&e);
        for (const int place : places) rows.push_back(all[static_cast<std::size_t>(place)]);
        return rows;
    }
    PresenceWork Check(const std::vector<int>& listed, std::string holder = "X") {
        return tracker.Check(entries, Rows(listed), holder, Encoding::Utf8);
    }
    // Walks to the end, as the window's timer does, and takes every answer.
    void Settle(PresenceWork work, const std::vector<int>& listed) {
        while (work.restart || work.walkOn)
            work = work.restart ? Check(listed) : tracker.AskNext(entries, Encoding::Utf8);
        checker->WaitUntilIdle();
        tracker.TakeAnswers();
    }

    std::shared_ptr<RecordingProbe> probe = std::make_shared<RecordingProbe>();
    PresenceChecker* checker;  // the tracker's
    PresenceTracker tracker;
    EntryList entries;
};

// The first look at a catalogue: the listed rows first, then the rest, each path once per
// walk, even when its answer came before the walk reached it or the catalogue holds it twice.
TEST(PresenceTracker, FirstWalkAsksListedRowsFirstAndEachPathOnce) {
    struct Case {
        const char* name;
        Paths catalogue;
        std::vector<int> listed;
        bool answersBeforeWalk;                    // the listed rows' answers are taken first
        std::optional<std::string> appendMidWalk;  // the entries change before the walk
        Paths asked;
    };
    const Case cases[] = {
        {"listed first", {"a", "b", "c", "d"}, {2, 0}, false, {}, {"c", "a", "b", "d"}},
        {"answered before walk", {"a", "b", "c"}, {1}, true, {}, {"b", "a", "c"}},
        {"held twice", {"a", "b", "a"}, {}, false, {}, {"a", "b"}},
        // A changed list starts the walk over: its rows are asked again, then everything.
        {"changed mid-walk", {"a", "b"}, {1}, true, "c", {"b", "b", "a", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.catalogue);
        PresenceWork work = rig.Check(c.listed);
        if (c.answersBeforeWalk) {
            rig.checker->WaitUntilIdle();
            rig.tracker.TakeAnswers();
        }
        if (c.appendMidWalk) rig.entries.Append(*c.appendMidWalk, *c.appendMidWalk, "");
        rig.Settle(work, c.listed);
        EXPECT_EQ(rig.probe->TakeAsked(), c.asked);
        EXPECT_FALSE(rig.tracker.Walking());
        EXPECT_EQ(rig.tracker.Known().size(), c.asked.size() - (c.appendMidWalk ? 1 : 0));
    }
}

// After a completed walk over {a, m1, b} with a and m1 listed in holder X: what the next
// refresh asks.
TEST(PresenceTracker, LaterRefreshesAskOnlyWhatMayHaveChanged) {
    enum class Change { None, OtherHolder, Append, OtherCatalogue };
    struct Case {
        const char* name;
        Change change;
        Paths asked;
    };
    const Case cases[] = {
        {"same holder: only the missing row", Change::None, {"m1"}},
        {"another holder: all its rows", Change::OtherHolder, {"a", "m1"}},
        {"entries changed: the rows and the new path", Change::Append, {"a", "m1", "c"}},
        {"another catalogue: everything", Change::OtherCatalogue, {"a", "m1", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig({"a", "m1", "b"});
        rig.Settle(rig.Check({0, 1}), {0, 1});
        rig.probe->TakeAsked();
        EXPECT_TRUE(rig.tracker.Missing("m1"));
        if (c.change == Change::Append) rig.entries.Append("c", "c", "");
        if (c.change == Change::OtherCatalogue) {
            rig.entries.Clear();
            for (const char* path : {"a", "m1", "b"}) rig.entries.Append(path, path, "");
        }
        rig.Settle(rig.Check({0, 1}, c.change == Change::OtherHolder ? "Y" : "X"), {0, 1});
        EXPECT_EQ(rig.probe->TakeAsked(), c.asked);
    }
}

// An answer that comes after another catalogue replaced the list is dropped, and what was
// known of the old catalogue's paths is forgotten once the new walk is over.
TEST(PresenceTracker, DropsAnswersForAReplacedCatalogue) {
    Rig rig({"h1", "a"}, 2);
    PresenceWork work = rig.Check({0, 1});
    while (work.walkOn) work = rig.tracker.AskNext(rig.entries, Encoding::Utf8);
    while (!rig.tracker.Known().contains("a")) {
        std::this_thread::sleep_for(1ms);
        rig.tracker.TakeAnswers();
    }
    rig.entries.Clear();
    rig.entries.Append("b", "b", "");
    for (work = rig.Check({0}); work.walkOn;)
        work = rig.tracker.AskNext(rig.entries, Encoding::Utf8);
    rig.probe->Release();  // h1 answers only now
    rig.checker->WaitUntilIdle();
    rig.tracker.TakeAnswers();
    EXPECT_EQ(rig.tracker.Known(), (PresenceMap{{"b", Presence::Present}}));
}

}  // namespace
}  // namespace kantoria
