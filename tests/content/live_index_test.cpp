#include "core/content/live_index.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace kantoria {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// What the threads told, waited for by the test.
struct Told {
    std::mutex mutex;
    std::condition_variable changed;
    int updates = 0;
    IndexReport report;
    std::vector<FailedFile> failed;
    std::shared_ptr<const DocumentWords> answer;
    std::shared_ptr<const DocumentWords> filled;  // the answer with its snippets

    LiveIndexEvents Events() {
        return {{},
                [this](const IndexReport& r, const std::vector<FailedFile>& f) {
                    const std::lock_guard lock(mutex);
                    ++updates;
                    report = r;
                    failed = f;
                    changed.notify_all();
                },
                [this](std::shared_ptr<const DocumentWords> a) {
                    const std::lock_guard lock(mutex);
                    answer = std::move(a);
                    changed.notify_all();
                },
                [this](std::shared_ptr<const DocumentWords> f) {
                    const std::lock_guard lock(mutex);
                    filled = std::move(f);
                    changed.notify_all();
                }};
    }
    template <typename Pred>
    bool WaitFor(Pred pred) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 20s, pred);
    }
};

class LiveIndexTest : public testing::Test {
  protected:
    void SetUp() override {
        root_ =
            fs::path(testing::TempDir()) /
            ("live-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "docs");
        options_.cacheRoot = (root_ / "cache").string();
        options_.extractor = KANTORIA_FAKE_EXTRACT;
        options_.lockPatience = 2s;
    }
    std::string Doc(const std::string& name, const std::string& text) {
        const fs::path path = root_ / "docs" / name;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        return path.string();
    }
    std::string At(const char* name) const { return (root_ / name).string(); }
    // The names of the documents the answer to text holds for each word.
    static std::vector<std::vector<std::string>> Names(const DocumentWords& answer) {
        std::vector<std::vector<std::string>> names;
        for (const DocumentHits& hits : answer.perWord) {
            auto& these = names.emplace_back();
            for (const auto& [path, snippet] : hits)
                these.push_back(fs::path(path).filename().string());
            std::sort(these.begin(), these.end());
        }
        return names;
    }

    fs::path root_;
    IndexOptions options_;
};

TEST_F(LiveIndexTest, AnUpdateAnswersEachWordAndNamesWhatItCouldNotRead) {
    const std::vector<std::string> docs = {Doc("a.txt", "会議の資料 契約"), Doc("b.txt", "契約書"),
                                           Doc("broken.txt", "x")};
    Told told;
    LiveIndex live(options_, told.Events());
    live.Ask("契約");  // no index yet: nothing holds a word
    ASSERT_TRUE(told.WaitFor([&] { return told.answer != nullptr; }));
    EXPECT_EQ(Names(*told.answer), (std::vector<std::vector<std::string>>{{}}));
    live.SetCatalogue(At("one.znl"));
    live.Update(docs);
    ASSERT_TRUE(told.WaitFor([&] { return told.updates == 1; }));
    EXPECT_TRUE(told.report.status) << told.report.status.reason();
    ASSERT_EQ(told.failed.size(), 1u);
    EXPECT_EQ(fs::path(told.failed[0].path).filename(), "broken.txt");
    live.Ask("資料 契");
    ASSERT_TRUE(told.WaitFor([&] { return told.answer->findText == "資料 契"; }));
    EXPECT_EQ(Names(*told.answer),
              (std::vector<std::vector<std::string>>{{"a.txt"}, {"a.txt", "b.txt"}}));
    // Short words come without reading the texts; their snippets follow for the same answer.
    ASSERT_TRUE(told.WaitFor([&] { return told.filled && told.filled->findText == "資料 契"; }));
    EXPECT_EQ(Names(*told.filled), Names(*told.answer));
    EXPECT_EQ(told.filled->perWord[0].at(docs[0]), "会議の資料 契約");
    EXPECT_EQ(told.filled->perWord[1].at(docs[1]), "契約書");
    // Saved under another name, the catalogue keeps its index.
    live.SetCatalogue(At("two.znl"), At("one.znl"));
    live.Update(docs);
    ASSERT_TRUE(told.WaitFor([&] { return told.updates == 2; }));
    EXPECT_EQ(told.report.unchanged, 2u);  // the unreadable one is reported again
    live.Rebuild(docs);
    ASSERT_TRUE(told.WaitFor([&] { return told.updates == 3; }));
    EXPECT_EQ(told.report.indexed, 2u);
}

// A document that hangs its reader holds neither a pause nor the end.
TEST_F(LiveIndexTest, PauseAndEndDoNotWaitForAHungDocument) {
    options_.limits.wall = 60s;
    Told told;
    auto live = std::make_unique<LiveIndex>(options_, told.Events());
    live->SetCatalogue(At("one.znl"));
    live->Update({Doc("sleep1.txt", "x"), Doc("sleep2.txt", "x"), Doc("c.txt", "資料")});
    std::this_thread::sleep_for(300ms);
    live->SetPaused(true);
    ASSERT_TRUE(told.WaitFor([&] { return told.updates == 1; }));
    EXPECT_TRUE(live->Paused());
    EXPECT_TRUE(live->Updating());  // what remains waits for the resume
    live->SetPaused(false);
    std::this_thread::sleep_for(300ms);
    const auto before = std::chrono::steady_clock::now();
    live.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
}

}  // namespace
}  // namespace kantoria
