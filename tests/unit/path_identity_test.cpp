#include "core/text/path_identity.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/entry_editing.h"
#include "core/catalogue/catalogue.h"
#include "core/views/entry_list_logic.h"
#include "core/views/holder_tree_logic.h"
#include "testing/core/file_types_memory.h"
#include "testing/core/icon_fakes.h"

namespace kantoria {
namespace {

struct PathPair {
    const char* a;
    const char* b;
    bool same;
};

TEST(PathIdentity, CaseCountsOnlyInPathsThatBeginWithASlash) {
    const PathPair cases[] = {
        {"/home/u/Report.txt", "/home/u/report.txt", false},
        {"/home/u/Docs/", "/home/u/docs/", false},
        {"/home/ｕ/Ａ", "/home/ｕ/ａ", false},
        {"/home/u/a.txt", "/home/u/a.txt", true},
        {"C:\\Docs\\Report.txt", "c:\\docs\\REPORT.TXT", true},
        {"C:\\Ａ\\", "c:\\ａ\\", true},
        {"\\\\Server\\Share\\a", "\\\\SERVER\\share\\A", true},
        {"docs\\A.txt", "DOCS\\a.txt", true},
        {"C:\\Docs\\", "C:/Docs/", false},
        {"/x", "\\X", false},
        {"", "", true},
    };
    for (const PathPair& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " | " + c.b);
        EXPECT_EQ(SamePath(c.a, c.b), c.same);
        EXPECT_EQ(SamePath(c.b, c.a), c.same);
        EXPECT_EQ(PathKey(c.a) == PathKey(c.b), c.same);
        if (c.same) {
            EXPECT_EQ(HashPath(c.a), HashPath(c.b));
        }
    }
}

TEST(PathIdentity, WithinAFolderByTheSameRule) {
    const PathPair cases[] = {
        {"/srv/Docs/a", "/srv/Docs/", true},
        {"/srv/docs/a", "/srv/Docs/", false},
        {"/srv/Docs/", "/srv/Docs/", true},
        {"/srv/Docs", "/srv/Docs/", false},
        {"/anything", "/", true},
        {"C:\\docs\\A\\b", "c:\\DOCS\\", true},
        {"C:\\Docs2\\b", "C:\\Docs\\", false},
    };
    for (const PathPair& c : cases) EXPECT_EQ(PathIsWithin(c.a, c.b), c.same) << c.a;
}

// Answers every dialog with the title it was shown, or "new" for a file not registered yet.
class KeepingEditor final : public EntryEditor {
  public:
    std::vector<std::string> shown;
    bool Edit(EntryFields& fields) override {
        shown.push_back(fields.title);
        if (fields.title.empty()) fields.title = "new";
        return true;
    }
    void Refuse(std::string_view) override {}
};

// Report.txt and report.txt, Docs/ and docs/ are two files and two folders on Linux: the path
// index, Add, the holders, the tree and the entry list all keep them apart.
TEST(PathIdentity, LinuxNamesThatDifferInCaseStayApartEverywhere) {
    Catalogue doc;
    doc.Entries().Append("/srv/Docs/Report.txt", "Report", "");
    doc.Entries().Append("/srv/docs/notes.txt", "notes", "");
    doc.Entries().Append("/srv/docs/Sub/x.txt", "x", "");
    doc.Entries().Append("C:\\W\\y.txt", "y", "");
    doc.RebuildHolders();

    EXPECT_EQ(doc.Entries().FindByPath("/srv/Docs/report.txt"), nullptr);
    EXPECT_NE(doc.Entries().FindByPath("/srv/Docs/Report.txt"), nullptr);
    EXPECT_NE(doc.Entries().FindByPath("c:\\w\\Y.TXT"), nullptr);

    std::vector<std::string> folders;
    for (const Holder& h : doc.Holders()) folders.push_back(h.folder);
    EXPECT_EQ(folders,
              (std::vector<std::string>{"/srv/Docs/", "/srv/docs/", "/srv/docs/Sub/", "C:\\W\\"}));

    const HolderTree tree = HolderTree::Build(doc.Holders());
    const int upper = tree.FindByFolder("/srv/Docs/"), lower = tree.FindByFolder("/srv/docs/");
    ASSERT_NE(upper, kNoHolderNode);
    ASSERT_NE(lower, kNoHolderNode);
    EXPECT_NE(upper, lower);
    EXPECT_EQ(tree.node(tree.FindByFolder("/srv/docs/Sub/")).parent, lower);
    EXPECT_TRUE(tree.node(upper).children.empty());
    EXPECT_EQ(EntriesOfFolder(doc.Entries(), "/srv/docs/").size(), 1u);
    EXPECT_EQ(EntriesOfFolder(doc.Entries(), "/srv/Docs/").front()->Title(), "Report");

    MemoryFileTypes types;
    test::FakeIconFactory icons;
    test::MapEnvironment env{{}};
    KeepingEditor editor;
    EXPECT_TRUE(AddFile(doc, "/srv/Docs/report.txt", editor, {types, icons, env}));
    EXPECT_EQ(editor.shown, std::vector<std::string>{""});  // a new entry, not Report's
    EXPECT_EQ(doc.Entries().size(), 5u);
}

}  // namespace
}  // namespace kantoria
