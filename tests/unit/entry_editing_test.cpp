#include "core/app/entry_editing.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "core/resources/string_table.h"
#include "core/views/entry_commands_logic.h"
#include "testing/core/file_types_memory.h"
#include "testing/core/icon_fakes.h"
#include "testing/core/test_files.h"

namespace kantoria {
namespace {

// An entry dialog answered from a script: each answer is the title and comment typed before
// OK; nothing (or a script run out) is Cancel.
class ScriptedEditor final : public EntryEditor {
  public:
    std::deque<std::optional<std::pair<std::string, std::string>>> answers;
    std::vector<EntryFields> shown;
    std::vector<std::string> refusals;

    bool Edit(EntryFields& fields) override {
        shown.push_back(fields);
        if (answers.empty() || !answers.front()) return false;
        std::tie(fields.title, fields.comment) = *answers.front();
        answers.pop_front();
        return true;
    }
    void Refuse(std::string_view reason) override { refusals.emplace_back(reason); }
};

class CountingView final : public CatalogueObserver {
  public:
    int updates = 0;
    void OnUpdate(CatalogueObserver*) override { ++updates; }
};

class EntryEditingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        doc.Entries().Append("C:\\Docs\\a.txt", "Alpha", "first");
        doc.Entries().Append("C:\\Docs\\b.txt", "Beta", "");
        doc.Entries().Append("C:\\Work\\c.txt", "Gamma", "");
        doc.RebuildHolders();
        doc.AddObserver(&view);
    }
    void TearDown() override { doc.RemoveObserver(&view); }
    // The catalogue of SetUp again, for the next row of a table.
    void Restart() {
        TearDown();
        doc.Entries().Clear();
        doc.SetSelectedTitle({});
        editor = ScriptedEditor{};
        view.updates = 0;
        SetUp();
    }
    void Type(std::string title, std::string comment = {}) {
        editor.answers.emplace_back(std::make_pair(std::move(title), std::move(comment)));
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (const Entry& e : doc.Entries()) titles.emplace_back(e.Title());
        return titles;
    }
    std::vector<std::string> ShownTitles() const {
        std::vector<std::string> titles;
        for (const EntryFields& f : editor.shown) titles.push_back(f.title);
        return titles;
    }

    Catalogue doc;
    CountingView view;
    ScriptedEditor editor;
    MemoryFileTypes types;
    test::FakeIconFactory icons;
    test::MapEnvironment env{{}};
    IconServices services{types, icons, env};
};

using Strings = std::vector<std::string>;

// Each row: what the user types, one OK after another; the titles the dialog showed; whether
// the file was registered as "Delta"; how many refusals were explained.
struct AddCase {
    const char* name;
    std::vector<std::string> typed;
    Strings shown;
    bool added;
    std::size_t refusals;
};

TEST_F(EntryEditingTest, AddComesBackUntilTheTitleIsNewAndStorable) {
    const AddCase cases[] = {
        {"accepted at once", {"Delta"}, {""}, true, 0},
        {"empty, then new", {"", "Delta"}, {"", ""}, true, 0},
        {"taken, then new", {"Alpha", "Delta"}, {"", "Alpha"}, true, 0},
        {"another case is a new title", {"alpha"}, {""}, false, 0},
        {"tab refused", {"De\tlta", "Delta"}, {"", "De\tlta"}, true, 1},
        {"line break refused", {"De\r\nlta", "Delta"}, {"", "De\r\nlta"}, true, 1},
        {"cancelled after a refusal", {"Alpha"}, {"", "Alpha"}, false, 0},
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        for (const std::string& title : c.typed) Type(title, "note");
        const bool changed = AddFile(doc, "C:\\New\\d.txt", editor, services);
        EXPECT_EQ(ShownTitles(), c.shown);
        EXPECT_EQ(editor.refusals.size(), c.refusals);
        const EntryRef added = doc.Entries().FindByPath("C:\\New\\d.txt");
        EXPECT_EQ(added != nullptr, changed);
        if (c.added) {
            ASSERT_NE(added, nullptr);
            EXPECT_EQ(added->Title(), "Delta");
            EXPECT_EQ(added->Comment(), "note");
            EXPECT_EQ(doc.SelectedTitle(), "Delta");
            EXPECT_EQ(doc.Holders().size(), 3u);
            EXPECT_EQ(view.updates, 1);
        }
    }
}

TEST_F(EntryEditingTest, AddOfARegisteredPathEditsThatEntry) {
    Type("Alpha", "second");
    EXPECT_TRUE(AddFile(doc, "c:\\docs\\A.TXT", editor, services));
    ASSERT_EQ(editor.shown.size(), 1u);
    EXPECT_EQ(editor.shown[0].title, "Alpha");
    EXPECT_EQ(editor.shown[0].comment, "first");
    EXPECT_EQ(doc.Entries().size(), 3u);
    EXPECT_EQ(doc.Entries().FindByTitle("Alpha")->Comment(), "second");
}

TEST_F(EntryEditingTest, EditKeepsItsOwnTitleAndRefusesAnotherEntrysTitle) {
    const EntryRef alpha = doc.FindByTitle("Alpha");
    doc.SetSelectedTitle("Alpha");
    Type("Beta");
    Type("");
    Type("Alpha", "changed");
    EXPECT_TRUE(EditEntry(doc, alpha, editor));
    EXPECT_EQ(ShownTitles(), (Strings{"Alpha", "Beta", ""}));
    EXPECT_EQ(alpha->Comment(), "changed");
    EXPECT_EQ(view.updates, 1);

    editor = ScriptedEditor{};
    Type("beta");  // another entry's title in other letter case is a title of its own
    EXPECT_TRUE(EditEntry(doc, alpha, editor));
    EXPECT_EQ(Titles(), (Strings{"beta", "Beta", "Gamma"}));
    EXPECT_EQ(doc.SelectedTitle(), "Alpha");

    editor = ScriptedEditor{};
    EXPECT_FALSE(EditEntry(doc, alpha, editor));
    EXPECT_EQ(alpha->Title(), "beta");
}

TEST_F(EntryEditingTest, CutThenPasteKeepsTheTitleCopyThenPasteMustChangeIt) {
    const EntryRef alpha = doc.FindByTitle("Alpha");
    CopyToClipboard(doc, alpha);
    Type("Alpha", "first");
    Type("Alpha 2", "first");
    EXPECT_TRUE(AddEntryAs(doc, PasteProposal(doc, "C:\\Docs\\a.txt"), editor, services));
    EXPECT_EQ(ShownTitles(), (Strings{"Alpha", "Alpha"}));
    EXPECT_EQ(editor.shown[0].comment, "first");

    // The clipboard stays: a second paste of the same file under a third title.
    editor = ScriptedEditor{};
    Type("Alpha 3");
    EXPECT_TRUE(AddEntryAs(doc, PasteProposal(doc, "C:\\Docs\\a.txt"), editor, services));
    EXPECT_EQ(Titles(), (Strings{"Alpha", "Beta", "Gamma", "Alpha 2", "Alpha 3"}));
    EXPECT_EQ(doc.ClipTitle(), "Alpha");

    // After a cut nothing bears the title any more.
    editor = ScriptedEditor{};
    CopyToClipboard(doc, doc.FindByTitle("Beta"));
    RemoveEntry(doc, doc.FindByTitle("Beta"), 2, services);
    Type("Beta");
    EXPECT_TRUE(AddEntryAs(doc, PasteProposal(doc, "C:\\Other\\b.txt"), editor, services));
    EXPECT_EQ(editor.shown.size(), 1u);
    EXPECT_EQ(doc.Entries().FindByTitle("Beta")->Path(), "C:\\Other\\b.txt");
}

// The whole path of an edit: a catalogue file is read, the first entry is edited through the
// dialog (which hands back what it showed, with the user's changes) and the file is written.
TEST_F(EntryEditingTest, EditingKeepsUntouchedBytesAndTheFilesEncoding) {
    const std::string header =
        "SELECTED=\r\nLASTHOLDER=\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\n";
    const std::string twins = "\xEE\xE0\xED\x40\x87\x90\xFA\x4A";  // 髙纊≒Ⅰ, all twin codes
    const std::string rest = "C:\\x\\b.doc\t\x95\xB6\x8F\x91\tc\r\n";
    struct Case {
        std::string file, title, comment, written;
    };
    const Case cases[] = {
        // Only the comment edited: the title's codes stay.
        {header + "C:\\x\\a.doc\t" + twins + "\told\r\n" + rest, "髙纊≒Ⅰ", "new",
         header + "C:\\x\\a.doc\t" + twins + "\tnew\r\n" + rest},
        // The title edited: what the user left keeps its codes, the typed middle is written as
        // Windows writes those characters, and the file stays code page 932.
        {header + "C:\\x\\a.doc\t" + twins + "\told\r\n" + rest, "髙纊≒Ⅰ2", "old",
         header + "C:\\x\\a.doc\t" + twins + "2\told\r\n" + rest},
        {header + "C:\\x\\a.doc\t" + twins + "\told\r\n" + rest, "髙≒纊Ⅰ", "old",
         header + "C:\\x\\a.doc\t\xEE\xE0\x81\xE0\xFA\x5C\xFA\x4A\told\r\n" + rest},
        // JIS forms typed into a code page 932 catalogue take its spelling.
        {header + "C:\\x\\a.doc\tt\tc\r\n" + rest, "波〜線", "1−2¢",
         header + "C:\\x\\a.doc\t\x94\x67\x81\x60\x90\xFC\t1\x81\x7C" + "2\x81\x91\r\n" + rest},
        // A UTF-8 catalogue keeps what was typed.
        {"\xEF\xBB\xBF" + header + "C:\\x\\a.doc\tt\tc\r\n", "波〜線", "c",
         "\xEF\xBB\xBF" + header + "C:\\x\\a.doc\t波〜線\tc\r\n"},
    };
    test::TempFolder dir;
    for (const Case& c : cases) {
        Restart();
        test::WriteBytes(dir / "in.ZNL", c.file);
        ASSERT_TRUE(doc.LoadCatalogue(dir / "in.ZNL"));
        Type(c.title, c.comment);
        EXPECT_TRUE(EditEntry(doc, &*doc.Entries().begin(), editor));
        ASSERT_TRUE(doc.SaveCatalogue(dir / "out.ZNL"));
        EXPECT_EQ(test::ReadBytes(dir / "out.ZNL"), c.written) << c.title;
    }
}

TEST_F(EntryEditingTest, RemovalAsksForTheTreeOnlyWhenTheLastShownEntryWent) {
    doc.SetSelectedTitle("Gamma");
    EXPECT_EQ(RemoveEntry(doc, doc.FindByTitle("Alpha"), 2, services), AfterRemoval::RefreshList);
    EXPECT_EQ(doc.Holders().size(), 2u);
    EXPECT_EQ(RemoveEntry(doc, doc.FindByTitle("Gamma"), 1, services),
              AfterRemoval::UpdateAllViews);
    EXPECT_EQ(doc.Holders().size(), 1u);
    EXPECT_EQ(doc.SelectedTitle(), "Gamma");
    EXPECT_EQ(doc.Extensions().size(), 1u);
}

}  // namespace
TEST_F(EntryEditingTest, RemovingManyRebuildsOnceAndAsksForTheTreeWhenAllShownWent) {
    const std::vector<EntryRef> docs = {doc.FindByTitle("Alpha"), doc.FindByTitle("Beta")};
    Removal removal = RemoveEntries(doc, docs, 3, services);
    EXPECT_EQ(removal.after, AfterRemoval::RefreshList);
    ASSERT_EQ(removal.removed.size(), 2u);
    EXPECT_EQ(removal.removed[1].title, "Beta");
    EXPECT_EQ(removal.removed[1].position, 1u);
    EXPECT_EQ(Titles(), (Strings{"Gamma"}));
    EXPECT_EQ(doc.Holders().size(), 1u);
    removal = RemoveEntries(doc, {doc.FindByTitle("Gamma")}, 1, services);
    EXPECT_EQ(removal.after, AfterRemoval::UpdateAllViews);
    EXPECT_TRUE(doc.Holders().empty());
    EXPECT_TRUE(doc.Extensions().empty());
}

TEST(EntryCommandsLogic, ManyEntriesAskWithTheirNumberAndOpenEachFolderOnce) {
    EXPECT_EQ(DeleteManyQuestion(12), "12 件の項目を消してよろしいですか？");
    EXPECT_EQ(OpenManyQuestion(11), "11 個のファイルを開きます。よろしいですか？");
    EntryList list;
    const std::vector<EntryRef> entries = {
        list.Append("C:\\Docs\\a.txt", "a", ""), list.Append("C:\\Work\\b.txt", "b", ""),
        list.Append("c:\\docs\\c.txt", "c", ""), list.Append("C:\\Docs\\Sub\\d.txt", "d", "")};
    EXPECT_EQ(DistinctFolders(entries), (Strings{"C:\\Docs\\", "C:\\Work\\", "C:\\Docs\\Sub\\"}));
}

}  // namespace kantoria
