#include <QAccessible>
#include <QIcon>
#include <QImage>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/resources/command_ids.h"
#include "core/text/text_codec.h"
#include "testing/core/scripted_probe.h"
#include "testing/core/test_files.h"
#include "tests/gui/views_fixture.h"

namespace kantoria::test {
namespace {

class MissingMarksTest : public ViewsTest {
  protected:
    void SetUp() override { doc.SetLastHolder("Docs"); }

    void Start(const std::vector<TestEntry>& entries) {
        Open(entries);
        list->SetIconLookup([](int, bool large) {
            QPixmap plain(large ? 32 : 16, large ? 32 : 16);
            plain.fill(Qt::blue);
            return QIcon(plain);
        });
    }
    void WaitForChecks() {
        for (int i = 0; i < 500 && list->CheckingFiles(); ++i) QTest::qWait(10);
        ASSERT_FALSE(list->CheckingFiles());
    }
    bool Greyed(std::string_view title) {
        return ListIndex(title, EntryListModel::kPathColumn).data(Qt::ForegroundRole).isValid();
    }
    // A point of the mark's disc that neither sign covers.
    QColor Mark(std::string_view title) {
        const QIcon icon = ListIndex(title).data(Qt::DecorationRole).value<QIcon>();
        return icon.pixmap(16, 16).toImage().pixelColor(11, 8);
    }
};

TEST_F(MissingMarksTest, GreysMissingRowsAndMarksTheirIconsUnknownOnlyMarked) {
    Start({{"C:\\Docs\\mgone.txt", "gone", ""},
           {"C:\\Docs\\hung.txt", "slow", ""},
           {"C:\\Docs\\ok.txt", "here", ""}});
    const auto probe = std::make_shared<ScriptedProbe>();
    list->SetPathProbe(probe, {.workers = 2, .patience = std::chrono::milliseconds(20)});
    WaitForChecks();
    const struct {
        const char* title;
        bool greyed;
        QColor mark;
        const char* said;  // what a screen reader says of the row besides its text
    } cases[] = {
        {"gone", true, QColor(0xd3, 0x2f, 0x2f), "見つかりません"},
        {"slow", false, QColor(0x75, 0x75, 0x75), "応答がなく確認できません"},
        {"here", false, QColor(Qt::blue), ""},
    };
    // One model serves every view mode, the roles with it.
    list->OnViewDetails();
    QTest::qWait(0);  // the rows are laid out
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(list->reportView())->tableInterface();
    ASSERT_NE(table, nullptr);
    for (const auto& c : cases) {
        EXPECT_EQ(Greyed(c.title), c.greyed) << c.title;
        EXPECT_EQ(Mark(c.title), c.mark) << c.title;
        for (int column = 0; column < EntryListModel::kColumnCount; ++column) {
            QAccessibleInterface* cell = table->cellAt(RowOf(c.title), column);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->text(QAccessible::Description), QString::fromUtf8(c.said)) << c.title;
        }
    }
    probe->Release();
}

// A twin code (EE E0 for 髙) names its file as Windows shows it: the file system is asked for
// the character, never for the code's bytes, which name no file.
TEST_F(MissingMarksTest, TwinCodesAreLookedUpAsTheirCharacters) {
    std::string twin;
    DecodeCp932("\xEE\xE0", twin);
    Start({{"C:\\Docs\\" + twin + ".txt", "twin", ""}, {"C:\\Docs\\x.txt", "plain", ""}});
    class NamesOnly final : public PathProbe {
      public:
        Presence Look(const std::string& path) override {
            return path == "C:\\Docs\\髙.txt" ? Presence::Present : Presence::Missing;
        }
    };
    list->SetPathProbe(std::make_shared<NamesOnly>(), {});
    WaitForChecks();
    EXPECT_FALSE(Greyed("twin"));
    EXPECT_TRUE(Greyed("plain"));
}

TEST_F(MissingMarksTest, LooksAgainWhenEntriesChangeAndWhenShownAgain) {
    TempFolder dir;
    WriteBytes(dir / "a.txt", "x");
    Start({{dir / "a.txt", "a", ""}, {dir / "b.txt", "b", ""}});
    ClickHolder(dir.path().string() + "/");
    WaitForChecks();
    EXPECT_FALSE(Greyed("a"));
    EXPECT_TRUE(Greyed("b"));

    // Entries added are looked at: one whose file is there is not greyed.
    WriteBytes(dir / "c.txt", "x");
    doc.Entries().Append(dir / "c.txt", "c", "");
    doc.Entries().Append(dir / "d.txt", "d", "");
    doc.RebuildHolders();
    doc.UpdateAllViews(nullptr);
    WaitForChecks();
    EXPECT_FALSE(Greyed("c"));
    EXPECT_TRUE(Greyed("d"));

    // A file put back is seen as soon as its holder is shown again.
    WriteBytes(dir / "b.txt", "x");
    std::filesystem::remove(dir / "a.txt");
    list->RefreshList();
    WaitForChecks();
    EXPECT_FALSE(Greyed("b"));
    EXPECT_FALSE(Greyed("a"));  // known present: not looked at again until the entries change
}

// A file deleted while the program runs gets its mark once its holder is shown again after
// another one, the holder's other rows included.
TEST_F(MissingMarksTest, AFileDeletedMeanwhileIsMarkedWhenItsHolderIsShownAgain) {
    TempFolder dir;
    std::filesystem::create_directories(dir.path() / "x");
    std::filesystem::create_directories(dir.path() / "y");
    for (const char* name : {"x/a.txt", "x/b.txt", "y/c.txt"}) WriteBytes(dir / name, "x");
    Start({{dir / "x/a.txt", "a", ""}, {dir / "x/b.txt", "b", ""}, {dir / "y/c.txt", "c", ""}});
    const std::string x = dir.path().string() + "/x/", y = dir.path().string() + "/y/";
    ClickHolder(x);
    WaitForChecks();
    EXPECT_FALSE(Greyed("a"));
    std::filesystem::remove(dir / "x/a.txt");
    ClickHolder(y);
    WaitForChecks();
    ClickHolder(x);
    WaitForChecks();
    EXPECT_TRUE(Greyed("a"));
    EXPECT_FALSE(Greyed("b"));
}

// After a change of the entries the listed files are looked at again, and elsewhere only the
// paths not known yet: a search or a deletion in a large catalogue does not ask about every file.
TEST_F(MissingMarksTest, AChangeAsksOnlyTheListedAndTheNewPaths) {
    Start({{"C:\\Docs\\a.txt", "a", ""},
           {"C:\\Docs\\b.txt", "b", ""},
           {"C:\\Other\\c.txt", "c", ""},
           {"C:\\Other\\d.txt", "d", ""},
           {"C:\\Other\\e.txt", "e", ""}});
    const auto probe = std::make_shared<ScriptedProbe>();
    list->SetPathProbe(probe, {.workers = 2, .patience = std::chrono::milliseconds(20)});
    WaitForChecks();
    EXPECT_EQ(probe->Calls(), 5);
    doc.Entries().Append("C:\\Other\\mnew.txt", "new", "");
    doc.Entries().Remove(doc.Entries().FindByTitle("c"));
    doc.RebuildHolders();
    doc.UpdateAllViews(nullptr);
    WaitForChecks();
    EXPECT_EQ(probe->Calls(), 5 + 2 + 1);
    list->RunCommand(ID_ENTRY_MISSING);
    EXPECT_EQ(ListedTitles(), (std::vector<std::string>{"new"}));
}

// The missing list gathers the gone entries of every holder, grows while answers come, and a
// click on a holder ends it.
TEST_F(MissingMarksTest, TheMissingListShowsEveryHoldersGoneEntries) {
    Start({{"C:\\Docs\\mgone.txt", "gone", ""},
           {"C:\\Docs\\ok.txt", "here", ""},
           {"C:\\Other\\mlost.txt", "lost", ""},
           {"C:\\Other\\hung.txt", "slow", ""}});
    const auto probe = std::make_shared<ScriptedProbe>();
    list->SetPathProbe(probe, {.workers = 2, .patience = std::chrono::milliseconds(20)});
    QString status;
    QObject::connect(list, &EntryListView::StatusTextChanged,
                     [&](const QString& text) { status = text; });
    list->RunCommand(ID_ENTRY_MISSING);
    WaitForChecks();
    EXPECT_EQ(ListedTitles(), (std::vector<std::string>{"gone", "lost"}));
    EXPECT_EQ(status.toStdString(), "見つからないファイル: 2 件");
    EXPECT_EQ(ShownFolder(), "(none)");
    ClickHolder("C:\\Docs\\");
    EXPECT_EQ(ListedTitles(), (std::vector<std::string>{"gone", "here"}));
    probe->Release();
}

// A large catalogue's files are asked about a slice at a time from the event loop, so the
// window paints and answers before the walk is over; the shown holder's files go first.
TEST_F(MissingMarksTest, LargeCataloguesAreWalkedInSlicesAfterTheShownHolder) {
    std::vector<TestEntry> entries{{"C:\\Docs\\mgone.txt", "gone", ""}};
    for (int i = 0; i < 30000; ++i)
        entries.push_back(
            {"C:\\Other\\m" + std::to_string(i) + ".txt", "t" + std::to_string(i), ""});
    Start(entries);
    const auto probe = std::make_shared<ScriptedProbe>();
    list->SetPathProbe(probe, {.workers = 2, .patience = std::chrono::milliseconds(20)});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // no events meanwhile
    EXPECT_EQ(probe->Calls(), 1);
    EXPECT_TRUE(list->CheckingFiles());
    WaitForChecks();
    EXPECT_EQ(probe->Calls(), 30001);
}

}  // namespace
}  // namespace kantoria::test
