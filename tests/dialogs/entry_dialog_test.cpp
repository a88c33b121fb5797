#include "ui/dialogs/entry_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "tests/dialogs/dialog_test_support.h"

namespace kantoria {
namespace {

using test::IconLookupSpy;
using test::Part;

struct EntryDialogTest : ::testing::Test {
    IconLookupSpy icons;
    EntryDialog dialog{icons.Lookup()};

    void Open() {
        dialog.OnInitDialog();
        dialog.open();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
};

TEST_F(EntryDialogTest, ShowsTheMembersAndTheProgramsPicture) {
    dialog.title = "報告書";
    dialog.comment = "一行目\r\n二行目";
    dialog.file = "C:\\文書\\報告.doc";
    Open();
    EXPECT_EQ(dialog.windowTitle(), "Kantoria");
    EXPECT_EQ(Part<QLineEdit>(dialog, "title")->text(), "報告書");
    EXPECT_EQ(Part<QPlainTextEdit>(dialog, "comment")->toPlainText(), "一行目\n二行目");
    EXPECT_EQ(Part<QPlainTextEdit>(dialog, "file")->toPlainText(), "C:\\文書\\報告.doc");
    EXPECT_TRUE(Part<QPlainTextEdit>(dialog, "file")->isReadOnly());
    EXPECT_EQ(icons.asked, dialog.file);
    EXPECT_FALSE(Part<QLabel>(dialog, "icon")->pixmap().isNull());
    EXPECT_EQ(QApplication::focusWidget(), Part<QLineEdit>(dialog, "title"));
    test::SaveShot(dialog, "entry_dialog");
}

TEST_F(EntryDialogTest, NoProgramMeansNoPicture) {
    icons.answer = false;
    dialog.file = "/gone/file.xyz";
    Open();
    EXPECT_TRUE(Part<QLabel>(dialog, "icon")->pixmap().isNull());
}

TEST_F(EntryDialogTest, EnterInTheCommentBreaksTheLineAndEnterInTheTitlePressesOk) {
    Open();
    auto* title = Part<QLineEdit>(dialog, "title");
    auto* comment = Part<QPlainTextEdit>(dialog, "comment");
    title->insert(QStringLiteral("新しい題"));
    comment->setFocus();
    QTest::keyClicks(comment, "a");
    QTest::keyClick(comment, Qt::Key_Return);
    QTest::keyClicks(comment, "b");
    EXPECT_TRUE(dialog.isVisible());
    title->setFocus();
    QTest::keyClick(title, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.title, "新しい題");
    EXPECT_EQ(dialog.comment, "a\r\nb");
}

TEST_F(EntryDialogTest, TabGoesTitleCommentOkCancel) {
    Open();
    std::vector<std::string> order;
    Part<QLineEdit>(dialog, "title")->setFocus();
    for (int i = 0; i < 4; ++i) {
        order.push_back(QApplication::focusWidget()->objectName().toStdString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"title", "comment", "ok", "cancel"}));
}

TEST_F(EntryDialogTest, CancelChangesNothingAndReshowingKeepsWhatWasTyped) {
    dialog.title = "old";
    Open();
    Part<QLineEdit>(dialog, "title")->setText("typed");
    QTest::mouseClick(Part<QPushButton>(dialog, "cancel"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.title, "old");

    Open();
    Part<QLineEdit>(dialog, "title")->setText("");
    QTest::mouseClick(Part<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(dialog.title, "");  // the dialog refuses nothing; its callers decide
    Part<QLineEdit>(dialog, "title")->setText("second try");
    Open();
    EXPECT_EQ(Part<QLineEdit>(dialog, "title")->text(), "");
}

TEST_F(EntryDialogTest, UntouchedFieldsGiveBackTheirExactBytes) {
    // A byte no encoding could decode, and a comment with a lone CR and LF.
    dialog.title = "a\xED\xB2\x80z";
    dialog.comment = "x\ry\nz";
    Open();
    QTest::mouseClick(Part<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(dialog.title, "a\xED\xB2\x80z");
    EXPECT_EQ(dialog.comment, "x\ry\nz");
}

TEST_F(EntryDialogTest, TwinCodesShowTheirCharacterAndComeBackAsTheirCode) {
    std::string twin;
    DecodeCp932("\xED\x40", twin);
    dialog.title = twin;
    dialog.comment = twin + "\r\n";
    Open();
    EXPECT_EQ(Part<QLineEdit>(dialog, "title")->text(), QStringLiteral("纊"));
    EXPECT_EQ(Part<QPlainTextEdit>(dialog, "comment")->toPlainText(), QStringLiteral("纊\n"));
    QTest::mouseClick(Part<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(dialog.title, twin);
    EXPECT_EQ(dialog.comment, twin + "\r\n");
}

}  // namespace
}  // namespace kantoria
