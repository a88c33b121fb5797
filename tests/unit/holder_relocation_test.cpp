#include "core/views/holder_relocation.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/views/holder_tree_logic.h"
#include "core/views/shown_holder.h"

namespace kantoria {
namespace {

struct Rewrite {
    const char* path;
    const char* from;
    const char* to;
    const char* moved;  // nullptr: not in from
};

TEST(HolderRelocation, RewritesThePrefixAtAFolderBoundary) {
    const Rewrite cases[] = {
        // The rest takes the new folder's separators, both ways.
        {"C:\\書類\\報告\\a.doc", "C:\\書類", "/home/u/書類", "/home/u/書類/報告/a.doc"},
        {"/home/u/書類/報告/a.doc", "/home/u/書類", "C:\\書類", "C:\\書類\\報告\\a.doc"},
        {"C:\\Docs\\a/b.txt", "C:\\Docs", "D:/Keep", "D:/Keep/a/b.txt"},
        // Boundaries: a longer name is another folder.
        {"C:\\Docs\\a.txt", "C:\\Doc", "D:\\X", nullptr},
        {"C:\\Doc.txt", "C:\\Doc", "D:\\X", nullptr},
        {"C:\\Doc/a.txt", "C:\\Doc", "D:\\X", "D:\\X\\a.txt"},
        // Case: drive letters and shares without regard to it, "/" paths exactly.
        {"c:\\DOCS\\a.txt", "C:\\Docs", "/d", "/d/a.txt"},
        {"\\\\SRV\\Share\\x\\a", "\\\\srv\\share", "/mnt/s", "/mnt/s/x/a"},
        {"/home/U/a", "/home/u", "/x", nullptr},
        // In a "/" path a backslash is part of a name.
        {"/srv/a\\b/c", "/srv", "C:\\S", "C:\\S\\a\\b\\c"},
        {"/srv\\x/a", "/srv", "/y", nullptr},
        // Trailing separators of either folder do not count.
        {"C:\\Docs\\a.txt", "C:\\Docs\\", "/d/", "/d/a.txt"},
        {"/srv/a", "/srv//", "D:\\", "D:\\a"},
        {"C:\\a\\b", "C:\\", "/mnt/c", "/mnt/c/a/b"},
        {"/a/b", "/", "E:\\", "E:\\a\\b"},
        // The folder itself registered as an entry, with and without its separator.
        {"C:\\Docs", "C:\\Docs\\", "/d", "/d"},
        {"C:\\Docs\\", "C:\\Docs", "/d", "/d/"},
        {"/srv", "/srv", "/", "/"},
        {"C:\\Docs", "C:\\Docs", "/", "/"},
        // Nothing to move from or to.
        {"C:\\Docs\\a", "", "/d", nullptr},
        {"C:\\Docs\\a", "C:\\Docs", "", nullptr},
    };
    for (const Rewrite& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " | " + c.from + " -> " + c.to);
        const std::optional<std::string> moved = RelocatedPath(c.path, c.from, c.to);
        if (c.moved == nullptr) {
            EXPECT_FALSE(moved.has_value()) << *moved;
        } else {
            EXPECT_EQ(moved.value_or("(none)"), c.moved);
        }
    }
}

class RelocationPlanTest : public ::testing::Test {
  protected:
    void Add(const std::vector<std::vector<std::string>>& entries) {
        for (const auto& e : entries) doc.Entries().Append(e[0], e[1], "");
        doc.RebuildHolders();
    }
    RelocationPlan Plan(std::string_view from, std::string_view to) {
        return PlanRelocation(doc, from, to, [this](const std::string& p) {
            probed.push_back(p);
            return onDisk.count(p) != 0;
        });
    }
    static std::vector<std::string> Titles(const std::vector<RelocationMove>& moves) {
        std::vector<std::string> titles;
        for (const RelocationMove& m : moves) titles.emplace_back(m.entry->Title());
        return titles;
    }
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const Entry& e : doc.Entries()) paths.emplace_back(e.Path());
        return paths;
    }

    Catalogue doc;
    std::set<std::string> onDisk;
    std::vector<std::string> probed;
};

TEST_F(RelocationPlanTest, CountsMovesAndWhatWillExistWithoutChangingAnything) {
    Add({{"C:\\書類\\a.doc", "A"},
         {"C:\\書類\\報告\\b.doc", "B"},
         {"C:\\Other\\c.doc", "C"},
         {"C:\\書類", "Folder"}});
    onDisk = {"/home/u/書類/a.doc", "/home/u/書類"};
    const std::uint64_t revision = doc.Entries().Revision();
    const RelocationPlan plan = Plan("C:\\書類", "/home/u/書類");
    EXPECT_EQ(Titles(plan.moves), (std::vector<std::string>{"A", "B", "Folder"}));
    EXPECT_EQ(plan.moves[1].to, "/home/u/書類/報告/b.doc");
    EXPECT_EQ(plan.existing, 2u);
    EXPECT_EQ(probed.size(), 3u);
    EXPECT_TRUE(plan.conflicts.empty());
    EXPECT_EQ(doc.Entries().Revision(), revision);
    // The same folder again moves nothing.
    EXPECT_TRUE(Plan("C:\\書類\\", "C:\\書類").moves.empty());
}

struct ConflictCase {
    const char* name;
    std::vector<std::vector<std::string>> entries;
    const char* from;
    const char* to;
    std::vector<std::string> moved;
    std::vector<std::string> stay;
};

TEST_F(RelocationPlanTest, AnEntryWhoseNewPathIsTakenStays) {
    const ConflictCase cases[] = {
        {"taken by an entry that stays",
         {{"C:\\Old\\a", "A"}, {"C:\\Old\\b", "B"}, {"/new/a", "Here"}},
         "C:\\Old",
         "/new",
         {"B"},
         {"A"}},
        {"the same path by the rule of the new kind",
         {{"C:\\Old\\A", "A"}, {"D:\\New\\a", "Here"}},
         "C:\\Old",
         "d:\\new",
         {},
         {"A"}},
        {"case tells \"/\" paths apart",
         {{"C:\\Old\\A", "A"}, {"/new/a", "Here"}},
         "C:\\Old",
         "/new",
         {"A"},
         {}},
        {"two paths onto one: the first wins",
         {{"/old/A", "Up"}, {"/old/a", "Low"}},
         "/old",
         "D:\\N",
         {"Up"},
         {"Low"}},
        {"entries sharing a path move together",
         {{"C:\\Old\\a", "A"}, {"c:\\OLD\\A", "A2"}},
         "C:\\Old",
         "D:\\N",
         {"A", "A2"},
         {}},
        {"another spelling of the folder is another folder",
         {{"C:\\Old\\a", "A"}, {"C:/Old/a", "Slash"}},
         "C:\\Old",
         "/n",
         {"A"},
         {}},
        {"a path freed by a move may be taken",
         {{"C:\\D\\x\\x\\a", "Deep"}, {"C:\\D\\x\\a", "Mid"}},
         "C:\\D\\x",
         "C:\\D",
         {"Deep", "Mid"},
         {}},
        {"an entry that stays keeps its path from the one before it",
         {{"C:\\D\\x\\x\\a", "Deep"}, {"C:\\D\\x\\a", "Mid"}, {"C:\\D\\a", "Here"}},
         "C:\\D\\x",
         "C:\\D",
         {},
         {"Deep", "Mid"}},
    };
    for (const ConflictCase& c : cases) {
        SCOPED_TRACE(c.name);
        doc.Entries().Clear();
        Add(c.entries);
        const RelocationPlan plan = Plan(c.from, c.to);
        EXPECT_EQ(Titles(plan.moves), c.moved);
        EXPECT_EQ(Titles(plan.conflicts), c.stay);
    }
}

TEST_F(RelocationPlanTest, ApplyingMovesPathsKeepsTextAndTheShownHolder) {
    doc.Entries().Append("C:\\書類\\報告\\a.doc", "A", "note");
    Add({{"C:\\書類\\b.doc", "B"}, {"C:\\Other\\c.doc", "C"}, {"/home/u/書類/b.doc", "Taken"}});
    HolderTree tree = HolderTree::Build(doc.Holders());
    ChooseHolder(doc, tree, tree.FindByFolder("C:\\書類\\報告\\"));
    const RelocationPlan plan = Plan("C:\\書類", "/home/u/書類");
    const std::uint64_t revision = doc.Entries().Revision();
    ApplyRelocation(doc, plan);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/home/u/書類/報告/a.doc", "C:\\書類\\b.doc",
                                                 "C:\\Other\\c.doc", "/home/u/書類/b.doc"}));
    EXPECT_EQ(doc.FindByTitle("A")->Comment(), "note");
    EXPECT_EQ(doc.Entries().FindByPath("/home/u/書類/報告/a.doc"), doc.FindByTitle("A"));
    EXPECT_EQ(doc.Entries().FindByPath("C:\\書類\\報告\\a.doc"), nullptr);
    EXPECT_NE(doc.Entries().Revision(), revision);
    tree = HolderTree::Build(doc.Holders());
    EXPECT_EQ(tree.node(ShownHolder(tree, doc)).folder, "/home/u/書類/報告/");
    EXPECT_EQ(doc.LastHolder(), "書類\\報告");
}

TEST_F(RelocationPlanTest, TheQuestionSaysWhatHappensWarnsOfUtf8AndListsWhatStays) {
    std::vector<std::vector<std::string>> entries = {{"C:\\D\\a", "A"}};
    for (int i = 0; i < 22; ++i) {
        const std::string name = "t" + std::to_string(i);
        entries.push_back({"C:\\D\\" + name, "T" + std::to_string(i)});
        entries.push_back({"/n/" + name, "N" + std::to_string(i)});
    }
    Add(entries);
    doc.SetFileEncoding(Encoding::Cp932);
    onDisk = {"/n/a"};
    const std::string text = RelocationQuestion(Plan("C:\\D", "/n"), doc.FileEncoding());
    EXPECT_EQ(text.rfind("C:\\D\n→ /n\n\n1 件のパスを書き換えます。", 0), 0u) << text;
    EXPECT_NE(text.find("ファイルがあるのは 1 件"), std::string::npos);
    EXPECT_NE(text.find("次の 22 件は"), std::string::npos);
    EXPECT_NE(text.find("\nT19（/n/t19）\n他 2 件\n\n書き換えますか？"), std::string::npos) << text;
    EXPECT_EQ(text.find("T20"), std::string::npos);
    EXPECT_EQ(text.find("UTF-8"), std::string::npos);

    const std::string none = RelocationQuestion(Plan("C:\\Nowhere", "/n"), doc.FileEncoding());
    EXPECT_EQ(none, "C:\\Nowhere\n→ /n\n\n書き換えるパスがありません。");
    EXPECT_NE(RelocationQuestion(Plan("C:\\D", "/문서"), doc.FileEncoding()).find("UTF-8"),
              std::string::npos);
    // A catalogue in UTF-8 already holds any path.
    doc.SetFileEncoding(Encoding::Utf8);
    EXPECT_FALSE(Plan("C:\\D", "/문서").becomesUtf8);
}

}  // namespace
}  // namespace kantoria
