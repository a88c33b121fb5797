#include "core/content/content_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/content/word_rule.h"
#include "core/os/helper_process.h"
#include "core/text/find_fold.h"

namespace kantoria {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class ContentIndexTest : public testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::path(testing::TempDir()) /
                testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(root_);
        fs::create_directories(root_ / "docs");
        options_.cacheRoot = (root_ / "cache").string();
        options_.extractor = KANTORIA_FAKE_EXTRACT;
        options_.lockPatience = 200ms;
    }
    std::string Doc(const std::string& name, const std::string& text) {
        const fs::path path = root_ / "docs" / name;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        return path.string();
    }
    std::string Catalogue() const { return (root_ / "catalogue.znl").string(); }
    std::unique_ptr<ContentIndex> Open(std::string* notice = nullptr) {
        Status status = Status::Ok();
        std::string said;
        auto index = ContentIndex::OpenForUpdate(Catalogue(), options_, status, said);
        if (notice) *notice = said;
        EXPECT_TRUE(index) << status.reason();
        return index;
    }
    // The names of the documents text finds.
    std::vector<std::string> Found(ContentIndex& index, const std::string& text) {
        std::vector<std::string> names;
        Status status = Status::Ok();
        for (const ContentHit& hit : index.Find(text, status))
            names.push_back(fs::path(hit.path).filename().string());
        EXPECT_TRUE(status) << status.reason();
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path root_;
    IndexOptions options_;
};

TEST_F(ContentIndexTest, AMarkerFindsItsOneDocumentAndNothingSharingItsNgrams) {
    const std::vector<std::string> docs = {
        Doc("a.txt", "会議の資料 識別PDF０００２番 です"),
        Doc("b.txt", "識別PDF０００２３番 の控え"),
        Doc("c.txt", "識別 と 番 と pdf0002 が離れている"),
        Doc("d.txt", "Quarterly report2024 final"),
    };
    auto index = Open();
    ASSERT_EQ(index->Update(docs).indexed, 4u);
    struct {
        const char* text;
        std::vector<std::string> found;
    } const cases[] = {
        {"識別PDF０００２番", {"a.txt"}},
        {"識別pdf00023番", {"b.txt"}},
        {"pdf0002 識別", {"a.txt", "c.txt"}},     // a whole word, CJK around it or not
        {"pdf000", {"a.txt", "b.txt", "c.txt"}},  // as typed, a beginning
        {"資料", {"a.txt"}},
        {"しきべつ", {}},
        {"quarterly repo", {"d.txt"}},  // the last word as typed
        {"repo quarterly", {}},         // an earlier word is whole
        {"識別 番", {"a.txt", "b.txt", "c.txt"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Found(*index, c.text), c.found) << c.text;
    Status status = Status::Ok();
    const auto hits = index->Find("資料", status);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].snippet, "会議の資料 識別PDF０００２番 です");
}

// The shortest kanji and kana words are answered from the index's terms alone, and longer
// ones are looked for as written before the text is folded: both must find exactly what
// folding every text finds, next to every kind of neighbour, with a snippet for each hit.
TEST_F(ContentIndexTest, WordsFoundWithoutFoldingAgreeWithTheFoldedTexts) {
    const std::vector<std::string> texts = {
        "会議の資料",
        "abc会議def",
        "会議123",
        "「会議」、資料。",
        "かいぎ室",
        "ｶｲｷﾞ室",
        "カイギ",
        "資料ー覧",
        "人々の会",
        "全角　会　議",
        "会\n議",
        "ﾃﾞｰﾀ",
        "データ",
        "\xff会議",
        "議事録の件",
        "カイキ\u3099",
        "イカ カイカ\u3099",
        "かいか",
    };
    std::vector<std::string> docs;
    for (std::size_t i = 0; i < texts.size(); ++i)
        docs.push_back(Doc("d" + std::to_string(i) + ".txt", texts[i]));
    auto index = Open();
    ASSERT_EQ(index->Update(docs).indexed, docs.size());
    for (const char* typed : {"会議", "会", "議", "資料", "カイ", "イギ", "ー", "デー", "室", "々",
                              "人々", "料ー", "ギ室", "議事録", "カイギ", "カイカ", "かいぎ室"}) {
        const std::string word = FoldForFind(typed);
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < texts.size(); ++i)
            if (FindWordInText(FoldForFind(texts[i]), word, true) != std::string::npos)
                expected.push_back(docs[i]);
        Status status = Status::Ok();
        std::vector<std::string> found;
        for (const ContentHit& hit : index->FindWord(word, true, status)) {
            found.push_back(hit.path);
            const std::string snippet =
                hit.snippet.empty() ? index->Snippet(hit.path, word, true, status) : hit.snippet;
            EXPECT_FALSE(snippet.empty()) << typed << " in " << hit.path;
        }
        EXPECT_TRUE(status) << status.reason();
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected) << typed;
    }
}

TEST_F(ContentIndexTest, ReadsOnlyWhatChangedAndDropsWhatLeftTheCatalogue) {
    const std::string a = Doc("a.txt", "alpha"), b = Doc("b.txt", "beta"),
                      c = Doc("c.txt", "gamma");
    auto index = Open();
    struct Step {
        std::function<void()> change;
        std::vector<std::string> paths;
        std::size_t indexed, unchanged, removed;
        const char* word;
        std::vector<std::string> found;
    } const steps[] = {
        {[] {}, {a, b, c}, 3, 0, 0, "beta", {"b.txt"}},
        {[] {}, {a, b, c}, 0, 3, 0, "gamma", {"c.txt"}},
        {[&] { Doc("b.txt", "delta delta"); }, {a, b, c}, 1, 2, 0, "beta", {}},
        {[] {}, {a, b}, 0, 2, 1, "gamma", {}},
        {[&] { Doc("d.txt", "delta"); },
         {a, b, (root_ / "docs/d.txt").string()},
         1,
         2,
         0,
         "delta",
         {"b.txt", "d.txt"}},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i].change();
        const IndexReport report = index->Update(steps[i].paths);
        ASSERT_TRUE(report.status) << report.status.reason();
        EXPECT_EQ(report.indexed, steps[i].indexed) << "step " << i;
        EXPECT_EQ(report.unchanged, steps[i].unchanged) << "step " << i;
        EXPECT_EQ(report.removed, steps[i].removed) << "step " << i;
        EXPECT_EQ(Found(*index, steps[i].word), steps[i].found) << "step " << i;
    }
}

TEST_F(ContentIndexTest, FailuresAreListedAndNotRetriedUntilTheFileChanges) {
    const std::vector<std::string> docs = {Doc("crash.txt", "x"), Doc("unsupported.bin", "x"),
                                           Doc("fine.txt", "fine"),
                                           (root_ / "docs/gone.txt").string()};
    fs::create_directory(root_ / "docs/folder");
    auto index = Open();
    for (int round = 0; round < 2; ++round) {
        auto withFolder = docs;
        withFolder.push_back((root_ / "docs/folder").string());
        const IndexReport report = index->Update(withFolder);
        ASSERT_EQ(report.failed.size(), 1u) << "round " << round;
        EXPECT_NE(report.failed[0].reason.find("crashed"), std::string::npos);
        EXPECT_EQ(report.unsupported, 1u);
        EXPECT_EQ(report.missing, 1u);
        EXPECT_EQ(report.indexed + report.unchanged, 1u);
    }
    Status status = Status::Ok();
    const auto failed = index->FailedFiles(status);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].path, docs[0]);
}

TEST_F(ContentIndexTest, AStopEndsAnUpdateAtOnceAndKillsTheExtraction) {
    options_.limits.wall = 60s;
    const std::vector<std::string> docs = {Doc("fine.txt", "fine"), Doc("sleep1.txt", "x"),
                                           Doc("sleep2.txt", "x"), Doc("sleep3.txt", "x")};
    auto index = Open();
    std::atomic<bool> stop = false;
    std::thread stopper([&] {
        std::this_thread::sleep_for(500ms);
        stop = true;
    });
    const auto started = std::chrono::steady_clock::now();
    const IndexReport report = index->Update(docs, {}, &stop);
    const auto took = std::chrono::steady_clock::now() - started;
    stopper.join();
    EXPECT_LT(took, 3s);
    // The documents being read when it stopped are not taken for failures.
    EXPECT_TRUE(report.failed.empty()) << report.failed[0].reason;
    for (int i = 0; i < 100 && HelpersLeftBehind() > 0; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(HelpersLeftBehind(), 0);
}

TEST_F(ContentIndexTest, ASecondUpdaterWaitsABoundedTimeThenIsBusy) {
    auto first = Open();
    Status status = Status::Ok();
    std::string notice;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(ContentIndex::OpenForUpdate(Catalogue(), options_, status, notice));
    EXPECT_EQ(status.code(), StatusCode::Busy);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    first.reset();
    EXPECT_TRUE(Open());
}

TEST_F(ContentIndexTest, ADamagedOrForeignIndexIsSetAsideAndMadeAfresh) {
    const std::string doc = Doc("a.txt", "alpha");
    const IndexFolder folder = Open()->folder();
    const std::function<void()> damages[] = {
        [&] {
            for (const auto& file : fs::directory_iterator(folder.database))
                std::ofstream(file.path(), std::ios::trunc) << "not a database";
        },
        [&] { std::ofstream(fs::path(folder.folder) / "catalogue") << "/elsewhere.znl\n"; },
    };
    for (const auto& damage : damages) {
        Open()->Update({doc});
        damage();
        std::string notice;
        auto index = Open(&notice);
        ASSERT_TRUE(index);
        EXPECT_NE(notice.find("set-aside"), std::string::npos) << notice;
        EXPECT_EQ(index->Update({doc}).indexed, 1u);
        EXPECT_EQ(Found(*index, "alpha"), std::vector<std::string>{"a.txt"});
    }
}

TEST_F(ContentIndexTest, ReadingWithoutAnIndexSaysThereIsNone) {
    Status status = Status::Ok();
    EXPECT_FALSE(ContentIndex::OpenForReading(Catalogue(), options_, status));
    EXPECT_EQ(status.code(), StatusCode::NotFound);
}

}  // namespace
}  // namespace kantoria
