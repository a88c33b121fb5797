#include "core/os/presence_checker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <thread>

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
