// Start-up in its order, the open path, saving and the end of the program, over fakes.
#include <gtest/gtest.h>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "core/resources/command_ids.h"
#include "tests/app/app_fakes.h"

namespace kantoria {
namespace {

using test::AppHarness;
using test::EventLog;

std::string ReadFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

class StartupTest : public ::testing::Test {
  protected:
    std::string Caption() const { return h.ShownCaption(); }
    AppHarness h;
};

TEST_F(StartupTest, NoStoredPathNoArgumentGivesAnUntitledCatalogue) {
    ASSERT_TRUE(h.app->InitInstance({}));
    // Without a stored path no instance is looked for.
    EXPECT_EQ(h.log, (EventLog{"publish", "register file type"}));
    EXPECT_EQ(Caption(), "無題 - Kantoria");
    EXPECT_TRUE(h.app->MainFrame()->isVisible());
    EXPECT_TRUE(h.app->MainFrame()->acceptDrops());
    EXPECT_TRUE(h.app->Document()->Doc().Entries().empty());
    EXPECT_TRUE(h.app->MainFrame()->StateOf(ID_FILE_MRU_FILE1).enabled == false);
    h.End();
    EXPECT_EQ(h.Stored(IDS_VALUE_ZNLPATH), "");
}

// A catalogue named on the command line (a double-click in the file manager) is the one
// opened; the remembered one only when none is named.
TEST_F(StartupTest, ArgumentIsCheckedThenOpenedOverTheStoredPath) {
    const std::string stored = h.CataloguePath();
    const std::string other = h.CataloguePath(QStringLiteral("other.ZNL"));
    h.StorePath(stored);
    ASSERT_TRUE(h.app->InitInstance({"-style", other}));
    EXPECT_EQ(h.log,
              (EventLog{"find instances", "find instances", "publish", "register file type"}));
    EXPECT_EQ(h.app->Document()->PathName(), other);
    EXPECT_EQ(Caption(), "other.ZNL - Kantoria");
    EXPECT_EQ(h.app->Document()->Doc().Entries().size(), 12u);
    EXPECT_FALSE(h.app->Document()->Doc().Holders().empty());
    EXPECT_EQ(h.app->Recent().Items(), std::vector<std::string>{other});
}

TEST_F(StartupTest, TheCommandLineDecidesWhichCatalogueOpens) {
    const std::string stored = h.CataloguePath();
    const std::string named = h.CataloguePath(QStringLiteral("named.znl"));
    const std::string report = h.folder.filePath(QStringLiteral("report.doc")).toStdString();
    QFile(QString::fromStdString(report)).open(QIODevice::WriteOnly);
    h.dialogs.inspect = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("title"))->setText(QStringLiteral("report"));
        dialog.accept();
    };
    struct Case {
        std::string stored, argument, opened;
        size_t entries;  // a file that is no catalogue joins the opened one
    };
    const Case cases[] = {
        {stored, "", stored, 12},        {stored, named, named, 12}, {"", named, named, 12},
        {stored, report, stored, 13},    {"", report, "", 1},        {"", "", "", 0},
        {h.Missing(), named, named, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored + " / " + c.argument);
        h.app = std::make_unique<Application>(h.services, MakeFrameViews);
        h.StorePath(c.stored);
        ASSERT_TRUE(h.app->InitInstance(c.argument.empty() ? std::vector<std::string>{}
                                                           : std::vector{c.argument}));
        EXPECT_EQ(h.app->Document()->PathName(), c.opened);
        EXPECT_EQ(h.app->Document()->Doc().Entries().size(), c.entries);
        EXPECT_TRUE(h.messages.shown.empty());
        h.app->Document()->Doc().MarkUnchanged();
        h.End();
    }
}

TEST_F(StartupTest, ArgumentIsOpenedWhenNothingIsStored) {
    const std::string catalogue = h.CataloguePath(QStringLiteral("arg.znl"));
    ASSERT_TRUE(h.app->InitInstance({catalogue}));
    EXPECT_EQ(Caption(), "arg.znl - Kantoria");
}

TEST_F(StartupTest, ArgumentThatIsNoCatalogueStartsAnUntitledOne) {
    const std::string report = h.folder.filePath(QStringLiteral("report.doc")).toStdString();
    QFile file(QString::fromStdString(report));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(h.app->InitInstance({report}));
    EXPECT_EQ(Caption(), "無題 - Kantoria");
}

TEST_F(StartupTest, RunningInstanceHoldingTheStoredCatalogueIsRestored) {
    h.StorePath("C:\\Data\\MORKA.ZNL");
    h.instances.running = {{"a", {"OTHER.ZNL - Kantoria"}}, {"b", {"MORKA.ZNL - Kantoria"}}};
    EXPECT_FALSE(h.app->InitInstance({}));
    EXPECT_EQ(h.app->ExitCode(), 0);
    EXPECT_EQ(h.instances.restored, std::vector<std::string>{"b"});
    EXPECT_EQ(h.app->MainFrame(), nullptr);
    EXPECT_EQ(h.instances.published, nullptr);
    EXPECT_EQ(h.Stored(IDS_VALUE_ZNLPATH), "C:\\Data\\MORKA.ZNL");
}

TEST_F(StartupTest, InstanceOnAnotherCatalogueDoesNotStopTheStart) {
    const std::string stored = h.CataloguePath();
    h.StorePath(stored);
    h.instances.running = {{"a", {"OTHER.ZNL - Kantoria"}}};
    ASSERT_TRUE(h.app->InitInstance({}));
    EXPECT_TRUE(h.instances.restored.empty());
}

TEST_F(StartupTest, FileArgumentGoesToTheRunningInstance) {
    h.StorePath("/data/MORKA.ZNL");
    h.instances.running = {{"a", {"無題 - Kantoria"}}, {"b", {"MORKA.ZNL - Kantoria"}}};
    EXPECT_FALSE(h.app->InitInstance({"/files/report.doc"}));
    ASSERT_EQ(h.instances.handedOver.size(), 1u);
    EXPECT_EQ(h.instances.handedOver[0],
              std::make_pair(std::string("b"), std::string("/files/report.doc")));
    EXPECT_TRUE(h.instances.restored.empty());
    EXPECT_EQ(h.app->MainFrame(), nullptr);
}

// A remembered catalogue that cannot be opened is reported; the user goes on untitled.
TEST_F(StartupTest, MissingStoredCatalogueIsReportedAndAnUntitledOneShown) {
    const std::string missing = h.Missing();
    h.StorePath(missing);
    EXPECT_TRUE(h.app->InitInstance({}));
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, missing + " を開けません。\nファイルが見つかりません。");
    EXPECT_EQ(h.messages.shown[0].icon, MbIcon::Exclamation);
    EXPECT_EQ(Caption(), "無題 - Kantoria");
    EXPECT_TRUE(h.app->MainFrame()->isVisible());
    EXPECT_EQ(h.Stored(IDS_VALUE_ZNLPATH), "");
}

class OpenPathTest : public StartupTest {
  protected:
    void SetUp() override {
        first = h.CataloguePath();
        h.StorePath(first);
        ASSERT_TRUE(h.app->InitInstance({}));
    }
    std::string first;
};

TEST_F(OpenPathTest, OpeningTheSamePathAgainOnlyActivates) {
    h.app->Document()->Doc().Entries().Append("/x/new.txt", "new", "");
    EXPECT_TRUE(h.app->OpenDocumentFile(first));
    EXPECT_EQ(h.app->Document()->Doc().Entries().size(), 13u);
}

TEST_F(OpenPathTest, FailedOpenKeepsTheCurrentCatalogue) {
    EXPECT_FALSE(h.app->OpenDocumentFile(h.Missing()));
    EXPECT_EQ(h.messages.shown.size(), 1u);
    EXPECT_NE(h.app->MainFrame(), nullptr);
    EXPECT_EQ(h.app->Document()->PathName(), first);
    EXPECT_EQ(h.app->Document()->Doc().Entries().size(), 12u);
}

TEST_F(OpenPathTest, FileOpenAndRecentFilesGoThroughTheSamePath) {
    const std::string second = h.CataloguePath(QStringLiteral("second.ZNL"));
    h.files.answers = {second};
    h.app->MainFrame()->RouteCommand(ID_FILE_OPEN);
    EXPECT_EQ(Caption(), "second.ZNL - Kantoria");
    EXPECT_EQ(h.app->Recent().Items(), (std::vector<std::string>{second, first}));
    ASSERT_EQ(h.app->MainFrame()->RecentActions().size(), 2u);
    EXPECT_EQ(h.app->MainFrame()->RecentActions()[1]->text().toStdString(), "&2 " + first);
    EXPECT_EQ(h.settings.GetProfileString("Recent File List", "File2", ""), first);

    h.app->MainFrame()->RecentActions()[1]->trigger();
    EXPECT_EQ(Caption(), "MORKA.ZNL - Kantoria");

    // A recent catalogue that has gone is reported and leaves the list.
    QFile::remove(QString::fromStdString(second));
    h.app->MainFrame()->RecentActions()[1]->trigger();
    EXPECT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.app->Recent().Items(), std::vector<std::string>{first});
}

TEST_F(OpenPathTest, OpeningAnotherCatalogueWritesTheCurrentOneFirst) {
    const std::string second = h.CataloguePath(QStringLiteral("second.ZNL"));
    h.app->Document()->Doc().Entries().Append("C:\\x\\kept.txt", "kept", "");
    EXPECT_TRUE(h.app->OpenDocumentFile(second));
    EXPECT_NE(ReadFile(first).find("kept.txt"), std::string::npos);
    EXPECT_EQ(ReadFile(second).find("kept.txt"), std::string::npos);  // never overwritten
    EXPECT_EQ(h.app->Document()->Doc().Entries().size(), 12u);
}

TEST_F(OpenPathTest, AFailedWriteOfTheCurrentCatalogueKeepsItOpen) {
    const std::string second = h.CataloguePath(QStringLiteral("second.ZNL"));
    h.app->Document()->Doc().Entries().Append("C:\\x\\kept.txt", "kept", "");
    h.app->Document()->SetPathName(h.folder.filePath(QStringLiteral("gone/x.ZNL")).toStdString());
    EXPECT_FALSE(h.app->OpenDocumentFile(second));
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_NE(h.messages.shown[0].text.find("に保存できません。"), std::string::npos);
    EXPECT_EQ(h.app->Document()->Doc().Entries().size(), 13u);
}

TEST_F(OpenPathTest, AnEmptyCatalogueFileTakesOverTheEntries) {
    const std::string empty = h.folder.filePath(QStringLiteral("empty.ZNL")).toStdString();
    QFile(QString::fromStdString(empty)).open(QIODevice::WriteOnly);
    h.app->Document()->SetPathName({});  // untitled, so nothing else is written
    EXPECT_TRUE(h.app->OpenDocumentFile(empty));
    EXPECT_EQ(h.app->Document()->Doc().Entries().size(), 12u);
    EXPECT_EQ(h.app->Document()->PathName(), empty);
}

// Opening a file that is no catalogue registers it through the entry dialog and keeps the
// catalogue, its path and its title.
TEST_F(OpenPathTest, OtherFilesAreRegisteredThroughTheEntryDialog) {
    const QString a = h.folder.filePath(QStringLiteral("a.txt"));
    QFile(a).open(QIODevice::WriteOnly);
    int runs = 0;
    h.dialogs.inspect = [&](QDialog& dialog) {
        ++runs;
        auto* title = dialog.findChild<QLineEdit*>(QStringLiteral("title"));
        title->setText(QStringLiteral("登録%1").arg(runs));
        dialog.accept();
    };
    EXPECT_FALSE(h.app->OpenDocumentFile(a.toStdString()));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(h.app->Document()->PathName(), first);
    const Catalogue& doc = h.app->Document()->Doc();
    ASSERT_EQ(doc.Entries().size(), 13u);
    EXPECT_EQ(std::prev(doc.Entries().end())->Title(), "登録1");
    EXPECT_EQ(std::prev(doc.Entries().end())->Path(), a.toStdString());

    // The same file again edits its entry instead of adding a second one.
    EXPECT_FALSE(h.app->OpenDocumentFile(a.toStdString()));
    EXPECT_EQ(doc.Entries().size(), 13u);
    EXPECT_EQ(std::prev(doc.Entries().end())->Title(), "登録2");
}

TEST_F(OpenPathTest, NewWritesTheEntriesToTheirFileAndStartsUntitled) {
    h.app->Document()->Doc().Entries().Append("C:\\x\\kept.txt", "kept", "");
    h.app->MainFrame()->RouteCommand(ID_FILE_NEW);
    EXPECT_NE(ReadFile(first).find("kept.txt"), std::string::npos);
    EXPECT_TRUE(h.app->Document()->Doc().Entries().empty());
    EXPECT_EQ(Caption(), "無題 - Kantoria");

    // What is added to the new catalogue never lands in the file just left.
    const std::string left = ReadFile(first);
    h.app->Document()->Doc().Entries().Append("C:\\x\\later.txt", "later", "");
    h.messages.answers = {MbAnswer::No};
    h.app->MainFrame()->RouteCommand(ID_APP_EXIT);
    h.End();
    EXPECT_EQ(ReadFile(first), left);
}

TEST_F(OpenPathTest, NewOnAnUntitledCatalogueAsksAndCancelKeepsIt) {
    h.app->Document()->SetPathName({});
    h.messages.answers = {MbAnswer::Cancel};
    h.app->MainFrame()->RouteCommand(ID_FILE_NEW);
    EXPECT_EQ(h.app->Document()->Doc().Entries().size(), 12u);
    h.messages.answers = {MbAnswer::No};
    h.app->MainFrame()->RouteCommand(ID_FILE_NEW);
    EXPECT_TRUE(h.app->Document()->Doc().Entries().empty());
    EXPECT_EQ(h.messages.shown.size(), 2u);
}

TEST_F(OpenPathTest, RefreshThatCannotWriteKeepsTheEntriesAndSaysWhy) {
    h.app->Document()->Doc().Entries().Append("C:\\x\\kept.txt", "kept", "");
    h.app->Document()->SetPathName(h.folder.filePath(QStringLiteral("gone/x.ZNL")).toStdString());
    h.app->MainFrame()->RouteCommand(ID_VIEW_REFRESH);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_NE(h.messages.shown[0].text.find("に保存できません。"), std::string::npos);
    EXPECT_EQ(h.app->Document()->Doc().Entries().size(), 13u);
}

TEST_F(OpenPathTest, SaveAsWritesOnlyTheNewFileAndAdoptsIt) {
    const std::string before = ReadFile(first);
    h.app->Document()->Doc().Entries().Append("C:\\x\\new.txt", "new", "");
    const std::string target = h.folder.filePath(QStringLiteral("copy.ZNL")).toStdString();
    h.files.answers = {target};
    h.app->MainFrame()->RouteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(h.files.proposed, std::vector<std::string>{first});
    EXPECT_NE(ReadFile(target).find("new.txt"), std::string::npos);
    EXPECT_EQ(ReadFile(first), before);
    EXPECT_EQ(Caption(), "copy.ZNL - Kantoria");
    // The remembered path follows at the next save or at the end.
    EXPECT_EQ(h.Stored(IDS_VALUE_ZNLPATH), first);
    h.End();
    EXPECT_EQ(h.Stored(IDS_VALUE_ZNLPATH), target);
}

TEST_F(OpenPathTest, FailedSaveIsReportedAndThePathKept) {
    const std::string target =
        h.folder.filePath(QStringLiteral("no/such/folder/x.ZNL")).toStdString();
    h.files.answers = {target};
    h.app->MainFrame()->RouteCommand(ID_FILE_SAVE_AS);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text.rfind(target + " に保存できません。", 0), 0u);
    EXPECT_EQ(h.app->Document()->PathName(), first);
}

TEST_F(OpenPathTest, CancelledSaveAsChangesNothing) {
    h.app->MainFrame()->RouteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(h.app->Document()->PathName(), first);
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST_F(OpenPathTest, EndWritesThePathAndTheCatalogue) {
    h.app->Document()->Doc().Entries().Append("C:\\x\\end.txt", "end", "");
    h.app->MainFrame()->RouteCommand(ID_APP_EXIT);
    EXPECT_FALSE(h.app->MainFrame()->isVisible());
    h.End();
    EXPECT_EQ(h.Stored(IDS_VALUE_ZNLPATH), first);
    EXPECT_NE(ReadFile(first).find("end.txt"), std::string::npos);
    EXPECT_TRUE(h.settings.Has("STATUS", "WINWIDTH"));
}

// An end that skips the window's question (the session ends, say) still writes the entries,
// and says so when it cannot.
TEST_F(OpenPathTest, EndWriteThatFailsIsReportedEvenWithoutTheWindow) {
    h.app->Document()->Doc().Entries().Append("C:\\x\\end.txt", "end", "");
    const std::string target = h.folder.filePath(QStringLiteral("gone/x.ZNL")).toStdString();
    h.app->Document()->SetPathName(target);
    h.End();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text.rfind(target + " に保存できません。", 0), 0u);
    EXPECT_EQ(h.Stored(IDS_VALUE_ZNLPATH), target);
}

TEST_F(OpenPathTest, InstanceHostAnswersCaptionsAndOpensHandedFiles) {
    EXPECT_EQ(h.app->WindowCaptions(), std::vector<std::string>{"MORKA.ZNL - Kantoria"});
    const std::string second = h.CataloguePath(QStringLiteral("handed.ZNL"));
    h.app->MainFrame()->showMaximized();
    h.app->OpenFromShell(second);
    EXPECT_EQ(Caption(), "handed.ZNL - Kantoria");
    EXPECT_FALSE(h.app->MainFrame()->isMaximized());
}

}  // namespace
}  // namespace kantoria

namespace kantoria {
namespace {

// What the end of the program does with entries that have no file yet or cannot be written.
class EndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.app->InitInstance({}));
        h.app->Document()->Doc().Entries().Append("C:\\x\\kept.txt", "kept", "");
    }
    bool Close() { return h.app->MainFrame()->close(); }
    test::AppHarness h;
};

TEST_F(EndTest, UntitledEntriesAreOfferedAFile) {
    const std::string target = h.folder.filePath(QStringLiteral("saved.ZNL")).toStdString();
    h.messages.answers = {MbAnswer::Yes};
    h.files.answers = {target};
    EXPECT_TRUE(Close());
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, "無題 への変更を保存しますか?");
    EXPECT_EQ(h.messages.shown[0].buttons, MbButtons::YesNoCancel);
    h.End();
    EXPECT_EQ(h.Stored(IDS_VALUE_ZNLPATH), target);
    QFile file(QString::fromStdString(target));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("kept.txt"));
}

TEST_F(EndTest, CancelOrACancelledFileDialogKeepsTheWindowOpen) {
    h.messages.answers = {MbAnswer::Cancel, MbAnswer::Yes};
    EXPECT_FALSE(Close());
    EXPECT_FALSE(Close());  // Yes, then no file chosen
    EXPECT_TRUE(h.app->MainFrame()->isVisible());
    h.messages.answers = {MbAnswer::No};
    EXPECT_TRUE(Close());
}

TEST_F(EndTest, FailedWriteOfATitledCatalogueIsReported) {
    // A folder that is a file: no one can write there.
    const QString blocker = h.folder.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    h.app->Document()->SetPathName((blocker + "/x.ZNL").toStdString());
    h.messages.answers = {MbAnswer::No};
    EXPECT_FALSE(Close());
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_NE(h.messages.shown[0].text.find("保存せずに終了しますか?"), std::string::npos);
    EXPECT_EQ(h.messages.shown[0].buttons, MbButtons::GoOnUnsaved);
    EXPECT_EQ(h.messages.shown[0].icon, MbIcon::Exclamation);
    h.messages.answers = {MbAnswer::Yes};
    EXPECT_TRUE(Close());
    h.End();  // the user let the entries go: nothing more is tried or said
    EXPECT_EQ(h.messages.shown.size(), 2u);
}

}  // namespace
}  // namespace kantoria
