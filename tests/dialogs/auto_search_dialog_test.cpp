#include "ui/dialogs/auto_search_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cstring>

#include "testing/core/fake_lister.h"
#include "testing/core/file_types_memory.h"
#include "testing/ui/scripted_file_dialogs.h"
#include "testing/ui/scripted_message_boxes.h"
#include "tests/dialogs/dialog_test_support.h"

namespace kantoria {
namespace {

using Answer = MbAnswer;
using test::Part;

const std::string kNothingFound = "検索結果：該当がありませんでした。";

struct SearchDialogTest : ::testing::Test {
    Catalogue doc;
    MemoryFileTypes types;
    test::FakeLister lister;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs files;
    AutoSearchDialog dialog{doc, types, lister, messages, files};

    SearchDialogTest() {
        EXPECT_TRUE(types.LoadTable(KANTORIA_TEST_DATA "/file_types.txt"));
        lister.AddFile("C:\\Docs\\report.doc");
        lister.AddFile("C:\\Docs\\Report.DOC.bak");
        lister.AddFile("C:\\Docs\\old\\report.doc");
        lister.AddFile("C:\\Docs\\notes.txt");
        dialog.OnInitDialog();
    }

    void Search(const char* folder) {
        Part<QLineEdit>(dialog, "folder")->setText(QString::fromUtf8(folder));
        QTest::mouseClick(Part<QPushButton>(dialog, "ok"), Qt::LeftButton);
    }

    std::vector<std::string> Titles() const {
        std::vector<std::string> out;
        for (const Entry& e : doc.Entries()) out.emplace_back(e.Title());
        return out;
    }
};

TEST_F(SearchDialogTest, OpensWithSubfoldersAndTheDocLine) {
    EXPECT_EQ(dialog.windowTitle(), "追加検索");
    EXPECT_EQ(Part<QLineEdit>(dialog, "folder")->text(), "");
    EXPECT_TRUE(Part<QCheckBox>(dialog, "subFolders")->isChecked());
    EXPECT_FALSE(Part<QCheckBox>(dialog, "useExt")->isChecked());
    EXPECT_TRUE(Part<QComboBox>(dialog, "extensions")->currentText().startsWith(".Doc "));
    test::SaveShot(dialog, "search_dialog");
}

TEST_F(SearchDialogTest, AnEmptyFolderFieldDoesNothing) {
    Search("");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(SearchDialogTest, OkToTheQuestionEndsTheDialogWithTheEntries) {
    messages.answers = {Answer::Ok};
    Search("C:\\Docs");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "検索結果： 4 件見つかりました。追加しますか?");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"notes", "report", "report1", "Report.DOC"}));
}

TEST_F(SearchDialogTest, CancelToTheQuestionTakesThemBackAndStaysOpen) {
    messages.answers = {Answer::Cancel, Answer::Ok};
    Search("C:\\Docs");
    EXPECT_TRUE(doc.Entries().empty());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    // The same search again finds them all again, titled as the first time.
    Search("C:\\Docs");
    EXPECT_EQ(messages.shown.back().text, "検索結果： 4 件見つかりました。追加しますか?");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"notes", "report", "report1", "Report.DOC"}));
}

TEST_F(SearchDialogTest, OnlyTheChosenExtensionWithoutSubfolders) {
    Part<QCheckBox>(dialog, "useExt")->setChecked(true);
    Part<QCheckBox>(dialog, "subFolders")->setChecked(false);
    messages.answers = {Answer::Ok};
    Search("C:\\Docs");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"report"}));
}

TEST_F(SearchDialogTest, NothingNewSaysSoAndStaysOpen) {
    doc.Entries().Append("C:\\Docs\\REPORT.doc", "x", "");
    Part<QCheckBox>(dialog, "useExt")->setChecked(true);
    Part<QCheckBox>(dialog, "subFolders")->setChecked(false);
    Search("C:\\Docs");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kNothingFound);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

// The box's field decides, whether a line was chosen or an extension typed; a field that names
// no extension asks for one.
TEST_F(SearchDialogTest, ATypedExtensionIsSearchedForAndAnEmptyBoxAsksForALine) {
    lister.AddFile("C:\\Docs\\data.zzz");
    lister.AddFile("C:\\Docs\\old\\more.ZZZ");
    lister.AddFile("C:\\Docs\\zzz.txt");
    const std::vector<std::string> zzz = {"data", "more"};
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {".zzz", zzz},
        {"zzz", zzz},
        {"*.zzz", zzz},
        {"  .ZZZ ", zzz},
        {".doc", {"report", "report1"}},
        {"", {}},
        {"   ", {}},
    };
    Part<QCheckBox>(dialog, "useExt")->setChecked(true);
    for (const auto& [typed, titles] : cases) {
        SCOPED_TRACE(typed);
        doc.Entries().Clear();
        messages.shown.clear();
        messages.answers = {Answer::Ok};
        Part<QComboBox>(dialog, "extensions")->setEditText(QString::fromUtf8(typed));
        Search("C:\\Docs");
        EXPECT_EQ(Titles(), titles);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text == "検索する拡張子を一覧から選んでください。",
                  titles.empty());
    }
}

TEST_F(SearchDialogTest, UnreadableFoldersAskToSkipOrStop) {
    lister.MakeUnlistable("C:\\Docs\\old");
    messages.answers = {Answer::Yes, Answer::Ok};
    Search("C:\\Docs");
    EXPECT_TRUE((messages.shown[0].text.find("C:\\Docs\\old") != std::string::npos));
    EXPECT_TRUE((messages.shown[0].text.find("アクセスが拒否されました。") != std::string::npos));
    EXPECT_EQ(Titles(), (std::vector<std::string>{"notes", "report", "Report.DOC"}));

    doc.Entries().Clear();
    messages.shown.clear();
    messages.answers = {Answer::No};
    Search("C:\\Docs");
    EXPECT_EQ(messages.shown.size(), 1u);  // no result message after a stop
    EXPECT_TRUE(doc.Entries().empty());
}

// One answer skips every unreadable folder still to come; they are listed, with the reason in
// the user's words, before the found files are offered.
TEST_F(SearchDialogTest, SkipAllAsksOnceAndListsTheSkippedFoldersAtTheEnd) {
    const std::vector<std::string> unreadable = {"C:\\Docs\\a", "C:\\Docs\\b", "C:\\Docs\\old"};
    for (const std::string& folder : unreadable) {
        lister.AddFile(folder + "\\x.txt");
        lister.MakeUnlistable(folder);
    }
    messages.answers = {Answer::SkipAll, Answer::Ok, Answer::Ok};
    Search("C:\\Docs");
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0].buttons, MbButtons::UnreadableFolder);
    EXPECT_EQ(messages.shown[0].text.find(std::strerror(EACCES)), std::string::npos);
    for (const std::string& folder : unreadable)
        EXPECT_NE(messages.shown[1].text.find(folder + "：アクセスが拒否されました。"),
                  std::string::npos)
            << messages.shown[1].text;
    EXPECT_EQ(messages.shown[2].text, "検索結果： 3 件見つかりました。追加しますか?");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"notes", "report", "Report.DOC"}));
}

TEST_F(SearchDialogTest, AFolderThatCannotBeOpenedIsReported) {
    Search("C:\\Nowhere");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE((messages.shown[0].text.rfind("ホルダー「C:\\Nowhere」を開けません。", 0) == 0));
}

TEST_F(SearchDialogTest, BrowseFillsTheFolderAndKeepsTheChoices) {
    Part<QCheckBox>(dialog, "subFolders")->setChecked(false);
    files.answers = {"/home/u/文書"};
    QTest::mouseClick(Part<QPushButton>(dialog, "browse"), Qt::LeftButton);
    EXPECT_EQ(files.folderCaptions.at(0), "検索するﾎﾙﾀﾞ");
    EXPECT_EQ(Part<QLineEdit>(dialog, "folder")->text(), "/home/u/文書");
    EXPECT_FALSE(Part<QCheckBox>(dialog, "subFolders")->isChecked());
    QTest::mouseClick(Part<QPushButton>(dialog, "browse"), Qt::LeftButton);  // cancelled
    EXPECT_EQ(Part<QLineEdit>(dialog, "folder")->text(), "/home/u/文書");
}

TEST_F(SearchDialogTest, ALongWalkShowsProgressAndCancelTakesItBack) {
    for (int i = 0; i < 3000; ++i) lister.AddFile("C:\\Big\\f" + std::to_string(i) + ".txt");
    dialog.SetProgressInterval(std::chrono::milliseconds(0));
    bool sawProgress = false;
    std::function<void()> cancelSoon = [&] {
        auto* window = dialog.findChild<QProgressDialog*>();
        if (!window) return QTimer::singleShot(0, cancelSoon);
        sawProgress = window->isVisible() && window->labelText().contains("C:\\Big");
        window->cancel();
    };
    QTimer::singleShot(0, cancelSoon);
    Search("C:\\Big");
    EXPECT_TRUE(sawProgress);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(doc.Entries().empty());
    EXPECT_FALSE(dialog.IsSearching());
    EXPECT_TRUE(dialog.isEnabled());
}

}  // namespace
}  // namespace kantoria
