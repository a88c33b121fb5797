#include "core/catalogue/entry_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"

namespace kantoria {
namespace {

// The definitions the indexes must agree with: a walk from the head.
EntryRef LinearFindByTitle(const EntryList& list, std::string_view title) {
    for (const Entry& e : list)
        if (EqualsNoCase(e.Title(), title)) return &e;
    return nullptr;
}
bool LinearTitleExists(const EntryList& list, std::string_view title) {
    for (const Entry& e : list)
        if (e.Title() == title) return true;
    return false;
}
EntryRef LinearFindByPath(const EntryList& list, std::string_view path) {
    for (const Entry& e : list)
        if (EqualsNoCase(e.Path(), path)) return &e;
    return nullptr;
}

TEST(EntryList, TitleLookupsFollowTheDefinitions) {
    EntryList list;
    EntryRef first = list.Append("C:\\a.txt", "Report", "");
    list.Append("C:\\b.txt", "report", "");
    EXPECT_EQ(list.FindByTitle("REPORT"), first);
    EXPECT_EQ(list.FindByTitle("report"), first);
    EXPECT_TRUE(list.TitleExists("report"));
    EXPECT_FALSE(list.TitleExists("REPORT"));
    EXPECT_EQ(list.FindByTitle("missing"), nullptr);
    list.Remove(first);
    EXPECT_EQ(list.FindByTitle("Report")->Path(), "C:\\b.txt");
}

// Removing many at once answers each removed entry with its former place, leaves the rest in
// order and keeps every lookup right; asking twice for one entry removes it once.
TEST(EntryList, RemoveManyAnswersWhatWentAndWhere) {
    EntryList list;
    std::vector<EntryRef> all;
    for (const char* title : {"a", "b", "A", "c", "d"})
        all.push_back(list.Append(std::string("C:\\") + title + ".txt", title, title));
    const std::uint64_t revision = list.Revision();
    const std::uint64_t firstId = all[0]->Id();
    const std::vector<PlacedEntry> removed = list.RemoveMany({all[3], all[0], all[3], all[2]});
    ASSERT_EQ(removed.size(), 3u);
    const std::size_t positions[] = {0, 2, 3};
    const char* titles[] = {"a", "A", "c"};
    for (std::size_t i = 0; i < removed.size(); ++i) {
        EXPECT_EQ(removed[i].position, positions[i]);
        EXPECT_EQ(removed[i].title, titles[i]);
        EXPECT_EQ(removed[i].comment, titles[i]);
        EXPECT_EQ(removed[i].path, std::string("C:\\") + titles[i] + ".txt");
    }
    EXPECT_EQ(removed[0].id, firstId);
    EXPECT_NE(list.Revision(), revision);
    std::vector<std::string> left;
    for (const Entry& e : list) left.emplace_back(e.Title());
    EXPECT_EQ(left, (std::vector<std::string>{"b", "d"}));
    EXPECT_EQ(list.FindByTitle("A"), nullptr);
    EXPECT_EQ(list.FindByPath("c:\\C.TXT"), nullptr);
    EXPECT_EQ(list.FindByTitle("D"), all[4]);
    EXPECT_TRUE(list.RemoveMany({}).empty());
}

TEST(EntryList, IndexesMatchLinearDefinitionsOverRandomOperations) {
    std::mt19937 rng(2004);
    // A small alphabet so that titles and paths collide often, also across case.
    const std::vector<std::string> words = {"a", "A", "b", "Ｂ", "ｂ", "表", "C:\\x\\", "c:\\X\\"};
    auto randomText = [&] {
        std::string s;
        for (int n = static_cast<int>(rng() % 3); n >= 0; --n) s += words[rng() % words.size()];
        return s;
    };
    Catalogue doc;
    EntryList& list = doc.Entries();
    std::vector<EntryRef> live;
    for (int step = 0; step < 20000; ++step) {
        const auto op = rng() % 100;
        if (op < 45) {
            live.push_back(list.Append(randomText(), randomText(), ""));
        } else if (op < 70 && !live.empty()) {
            const size_t i = rng() % live.size();
            list.Remove(live[i]);
            live.erase(live.begin() + static_cast<long>(i));
        } else if (op < 90 && !live.empty()) {
            list.SetTitle(live[rng() % live.size()], randomText());
        } else if (op < 92) {
            list.Clear();
            live.clear();
        } else if (op < 93) {
            // Reload: the same entries again through the writer and reader.
            const std::string path = ::testing::TempDir() + "/index_reload.ZNL";
            ASSERT_TRUE(doc.SaveCatalogue(path));
            ASSERT_TRUE(doc.LoadCatalogue(path));
            live.clear();
            for (const Entry& e : list) live.push_back(&e);
        }
        const std::string probe = randomText();
        ASSERT_EQ(list.FindByTitle(probe), LinearFindByTitle(list, probe)) << "step " << step;
        ASSERT_EQ(list.TitleExists(probe), LinearTitleExists(list, probe)) << "step " << step;
        ASSERT_EQ(list.FindByPath(probe), LinearFindByPath(list, probe)) << "step " << step;
        ASSERT_EQ(list.size(), live.size());
    }
}

// Work is counted in key comparisons under a hash that sends every key to the same slot: a
// lookup may compare with each distinct key, never with every entry that shares one.
int comparisons = 0;
std::uint64_t OneHash(std::string_view) {
    return 7;
}
}  // namespace

struct EntryTesting {
    static void SetTitle(Entry& entry, std::string_view title) { entry.SetTexts("", title, ""); }
};

namespace {

bool CountedEqual(std::string_view a, std::string_view b) {
    ++comparisons;
    return a == b;
}

TEST(FoldedIndex, EntriesSharingAKeyCostNoComparisons) {
    constexpr int kShared = 5000;
    std::vector<Entry> entries(kShared + 1);
    for (Entry& e : entries) EntryTesting::SetTitle(e, "copy");
    EntryTesting::SetTitle(entries.back(), "other");
    FoldedIndex index(&Entry::Title, {&OneHash, &CountedEqual});
    comparisons = 0;
    for (const Entry& e : entries) index.Insert(&e);
    int found = 0;
    for (int i = 0; i < kShared; ++i) {
        index.ForEachMatch("other", [&](EntryRef) { return ++found, false; });
        index.ForEachMatch("missing", [&](EntryRef) { return ++found, false; });
    }
    for (const Entry& e : entries) index.Erase(&e);
    EXPECT_EQ(found, kShared);
    EXPECT_EQ(index.size(), 0u);
    EXPECT_LT(comparisons, 8 * kShared);
}

}  // namespace
}  // namespace kantoria
