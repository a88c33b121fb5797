#include "core/os/presence_checker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "core/os/helper_process.h"
#include "testing/core/scripted_probe.h"
#include "testing/core/test_files.h"

namespace kantoria {
namespace {

using namespace std::chrono_literals;

std::map<std::string, Presence> Answers(PresenceChecker& checker) {
    checker.WaitUntilIdle();
    std::map<std::string, Presence> answers;
    for (const PresenceResult& r : checker.TakeResults()) answers[r.path] = r.presence;
    return answers;
}

TEST(PresenceChecker, AnswersPresentMissingAndUnknownForWhatHangs) {
    const auto probe = std::make_shared<test::ScriptedProbe>();
    {
        PresenceChecker checker(probe, {.workers = 4, .patience = 30ms, .maxStuck = 4});
        checker.Enqueue({"p1", "m1", "h1", "p2", "m2"});
        EXPECT_EQ(Answers(checker), (std::map<std::string, Presence>{{"h1", Presence::Unknown},
                                                                     {"m1", Presence::Missing},
                                                                     {"m2", Presence::Missing},
                                                                     {"p1", Presence::Present},
                                                                     {"p2", Presence::Present}}));
        // The stuck worker was replaced: later paths are still looked at.
        checker.Enqueue({"p3"});
        EXPECT_EQ(Answers(checker)["p3"], Presence::Present);
    }
    probe->Release();
}

// A hung mount: only maxStuck looks are ever risked; the rest are answered without asking,
// and looking resumes once the file system answers again.
TEST(PresenceChecker, BoundsTheThreadsAHungFileSystemHolds) {
    const auto probe = std::make_shared<test::ScriptedProbe>();
    PresenceChecker checker(probe, {.workers = 2, .patience = 20ms, .maxStuck = 3});
    checker.Enqueue({"h1", "h2", "h3", "h4", "h5", "h6", "h7", "h8"});
    const auto answers = Answers(checker);
    EXPECT_EQ(answers.size(), 8u);
    EXPECT_TRUE(std::all_of(answers.begin(), answers.end(),
                            [](const auto& a) { return a.second == Presence::Unknown; }));
    EXPECT_EQ(probe->Calls(), 3);
    EXPECT_EQ(probe->MostInside(), 3);
    EXPECT_LE(checker.Threads(), 2 + 1 + 3);  // workers, the watchdog, the stuck

    probe->Release();
    for (int i = 0; i < 200 && (probe->Inside() > 0 || checker.Threads() > 3); ++i)
        std::this_thread::sleep_for(5ms);
    checker.Enqueue({"m9"});
    EXPECT_EQ(Answers(checker)["m9"], Presence::Missing);
}

TEST(PresenceChecker, EndingNeverWaitsForTheFileSystem) {
    const auto probe = std::make_shared<test::ScriptedProbe>();
    const auto start = std::chrono::steady_clock::now();
    {
        PresenceChecker checker(probe, {.workers = 1, .patience = 60s, .maxStuck = 1});
        checker.Enqueue({"h1", "p1"});
        while (probe->Inside() == 0) std::this_thread::sleep_for(1ms);
        checker.DropQueued();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    probe->Release();
    EXPECT_EQ(probe->Calls(), 1);
}

#ifdef __linux__
// The children this process has, zombies included.
std::vector<std::string> Children() {
    std::vector<std::string> pids;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream in(task.path() / "children");
        for (std::string pid; in >> pid;) pids.push_back(pid);
    }
    return pids;
}
#endif

// A hung mount holds only its own paths: those of the local disk listed after it are still
// answered, on threads as in helper processes, and what is left behind stays bounded.
TEST(PresenceChecker, AHungMountHoldsOnlyItsOwnPaths) {
    const auto mounts = std::make_shared<const MountTable>(
        MountTable::Parse("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                          "2 1 0:50 / /net rw - nfs4 server:/ rw\n"));
    std::vector<std::string> paths;
    std::map<std::string, Presence> expected;
    for (const char* path : {"/net/h1", "/net/h2", "/net/p3", "/net/h4", "/net/h5"}) {
        paths.emplace_back(path);
        expected[path] = Presence::Unknown;
    }
    for (int i = 0; i < 6; ++i) {
        const std::string found = "/home/p" + std::to_string(i), gone = "/n/m" + std::to_string(i);
        paths.insert(paths.end(), {found, gone});
        expected[found] = Presence::Present;
        expected[gone] = Presence::Missing;
    }
    const struct {
        bool inKernel;
        std::chrono::milliseconds patience;
    } cases[] = {{false, 30ms}, {true, 500ms}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.inKernel ? "helper processes" : "threads");
        const auto probe = std::make_shared<test::ScriptedProbe>();
        probe->blocksInKernel = c.inKernel;
        {
            PresenceChecker checker(probe, {.workers = 2, .patience = c.patience, .maxStuck = 2},
                                    mounts);
            checker.Enqueue(paths);
            EXPECT_EQ(Answers(checker), expected);
            // Workers, the watchdog, and two stuck looks (threads, or helpers beside the
            // workers' own).
            EXPECT_LE(checker.Threads(), 2 + 1 + 2 + (c.inKernel ? 2 : 0));
        }
        probe->Release();
#ifdef __linux__
        for (int i = 0; i < 500 && (HelpersLeftBehind() > 0 || !Children().empty()); ++i)
            std::this_thread::sleep_for(10ms);
        EXPECT_EQ(Children(), std::vector<std::string>{});  // no helper, no zombie
#endif
    }
}

TEST(PresenceChecker, SystemProbeSeesFilesAndFoldersAndNotForeignPaths) {
    test::TempFolder dir;
    test::WriteBytes(dir / "a.txt", "x");
    const auto probe = MakeSystemPathProbe();
    const struct {
        std::string path;
        Presence expected;
    } cases[] = {
        {dir / "a.txt", Presence::Present},
        {dir.path().string(), Presence::Present},
        {dir / "gone.txt", Presence::Missing},
        {"C:\\Docs\\a.txt", Presence::Missing},
        {"\\\\server\\share\\a.txt", Presence::Missing},
        {"a.txt", Presence::Missing},
        {"", Presence::Missing},
    };
    for (const auto& c : cases) EXPECT_EQ(probe->Look(c.path), c.expected) << c.path;
}

}  // namespace
}  // namespace kantoria
