#include "ui/dialogs/properties_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "testing/core/test_files.h"
#include "tests/dialogs/dialog_test_support.h"

namespace kantoria {
namespace {

using test::IconLookupSpy;
using test::Part;

TEST(PropertiesDialog, ExistingFileShowsSizeTimeAndPicture) {
    test::TempFolder dir;
    test::WriteBytes(dir / "報告.txt", "abc");
    IconLookupSpy icons;
    PropertiesDialog dialog(icons.Lookup());
    dialog.title = "報告";
    dialog.comment = "上\r\n下";
    dialog.file = dir / "報告.txt";
    dialog.OnInitDialog();
    EXPECT_EQ(Part<QLineEdit>(dialog, "size")->text(), "3 ﾊﾞｲﾄ");
    EXPECT_EQ(Part<QLineEdit>(dialog, "date")->text().size(), 17);  // 08/23/04 14:05:09
    EXPECT_EQ(Part<QPlainTextEdit>(dialog, "comment")->toPlainText(), "上\n下");
    EXPECT_FALSE(Part<QLabel>(dialog, "icon")->pixmap().isNull());
    EXPECT_TRUE(Part<QLabel>(dialog, "missing")->isHidden());

    // OK is the only place the focus can go.
    dialog.open();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), Part<QPushButton>(dialog, "ok"));
    test::SaveShot(dialog, "properties_dialog");
    for (const char* name : {"title", "comment", "file", "date", "size"})
        EXPECT_EQ(Part<QWidget>(dialog, name)->focusPolicy(), Qt::NoFocus) << name;
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(PropertiesDialog, MissingFileSaysSoAndShowsNoPicture) {
    test::TempFolder dir;
    IconLookupSpy icons;
    PropertiesDialog dialog(icons.Lookup());
    dialog.title = "t";
    dialog.file = dir / "gone.doc";
    dialog.OnInitDialog();
    EXPECT_EQ(Part<QLineEdit>(dialog, "date")->text(), "ファイルがありません。");
    EXPECT_EQ(Part<QLineEdit>(dialog, "size")->text(), "ファイルがありません。");
    EXPECT_TRUE(Part<QLabel>(dialog, "icon")->pixmap().isNull());
    EXPECT_FALSE(Part<QLabel>(dialog, "missing")->isHidden());
    EXPECT_EQ(Part<QLabel>(dialog, "missing")->text(),
              "ファイルまたはフォルダーが見つかりません。");
    EXPECT_EQ(icons.asked, "");
    EXPECT_EQ(Part<QLineEdit>(dialog, "title")->text(), "t");
}

}  // namespace
}  // namespace kantoria
