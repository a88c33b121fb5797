// The toolbar's find field in the main window: typing shows matches from every holder,
// Escape and a click on a holder go back, and Ctrl+F reaches the field from anywhere.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "core/views/holder_tree_logic.h"
#include "core/views/shown_holder.h"
#include "tests/app/app_fakes.h"
#include "ui/views/entry_list_view.h"
#include "ui/views/holder_tree_model.h"
#include "ui/views/holder_tree_view.h"

namespace kantoria {
namespace {

using Strings = std::vector<std::string>;

class FindFieldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.app->NewDocument());
        frame = h.app->MainFrame();
        frame->ShowAtSavedPlace();
        QApplication::setActiveWindow(frame);
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
        field = frame->FindField();
        list = static_cast<EntryListView*>(frame->Views().list->Widget());
        tree = static_cast<HolderTreeView*>(frame->Views().tree->Widget());
        for (const auto& [path, title] : std::vector<std::pair<const char*, const char*>>{
                 {"C:\\書類\\報告\\q1.doc", "売上報告"},
                 {"C:\\書類\\memo.txt", "メモ"},
                 {"D:\\古い\\old.doc", "ｶﾀｶﾅの報告"},
             })
            doc().Entries().Append(path, title, "");
        doc().RebuildHolders();
        doc().SetLastHolder("書類");
        doc().UpdateAllViews(nullptr);
    }
    Catalogue& doc() { return h.app->Document()->Doc(); }
    Strings Listed() const {
        Strings titles;
        for (int row = 0; row < list->entryModel()->rowCount(); ++row)
            titles.push_back(list->entryModel()->TitleAt(row));
        return titles;
    }
    bool TreeShowsAHolder() const { return !tree->selectionModel()->selectedIndexes().isEmpty(); }
    std::string Status() const {
        for (QLabel* label : frame->statusBar()->findChildren<QLabel*>())
            if (!label->text().isEmpty()) return label->text().toStdString();
        return {};
    }
    void ClickHolder(std::string_view folder) {
        const int node = tree->holderModel()->tree().FindByFolder(folder);
        const QModelIndex index = tree->holderModel()->IndexOf(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    }

    test::AppHarness h;
    MainWindow* frame = nullptr;
    QLineEdit* field = nullptr;
    EntryListView* list = nullptr;
    HolderTreeView* tree = nullptr;
};

TEST_F(FindFieldTest, TypingShowsMatchesFromEveryHolderAndEscapeGoesBack) {
    ASSERT_EQ(Listed(), Strings{"メモ"});
    field->setFocus();
    field->insert(QStringLiteral("ほうこく　かたかな"));  // as an input method commits
    EXPECT_EQ(Listed(), Strings{});
    field->clear();
    field->insert(QStringLiteral("報告"));
    EXPECT_EQ(Listed(), (Strings{"売上報告", "ｶﾀｶﾅの報告"}));  // the list's order
    EXPECT_FALSE(TreeShowsAHolder());
    EXPECT_EQ(Status(), "2 件見つかりました");

    // A found row is selected as any other; the clicked holder stays.
    list->reportView()->selectionModel()->setCurrentIndex(list->entryModel()->index(0, 0),
                                                          QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(doc().SelectedTitle(), "売上報告");
    EXPECT_EQ(list->GetSelectedEntry()->Title(), "売上報告");
    EXPECT_EQ(doc().LastHolder(), "書類");

    // An entry added meanwhile shows when it matches.
    doc().Entries().Append("E:\\新しい報告.txt", "新しい報告", "");
    doc().Entries().Append("E:\\別.txt", "別", "");
    doc().RebuildHolders();
    doc().UpdateAllViews(nullptr);
    EXPECT_EQ(Listed(), (Strings{"新しい報告", "売上報告", "ｶﾀｶﾅの報告"}));
    // Return leads from the field to the found rows, keeping the selection.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(list->currentView()->hasFocus());
    EXPECT_EQ(list->GetSelectedEntry()->Title(), "売上報告");

    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(Listed(), Strings{"メモ"});
    EXPECT_TRUE(TreeShowsAHolder());
    EXPECT_EQ(Status(), frame->IdleMessage().toStdString());
}

TEST_F(FindFieldTest, AClickOnAHolderClearsTheField) {
    QTest::keyClicks(field, QStringLiteral("doc"));
    ASSERT_EQ(Listed().size(), 2u);
    ClickHolder("D:\\古い\\");
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(Listed(), Strings{"ｶﾀｶﾅの報告"});
    EXPECT_TRUE(TreeShowsAHolder());
    EXPECT_TRUE(list->Content().ShowsHolder());
}

TEST_F(FindFieldTest, CtrlFFocusesTheFieldWithTheToolbarHidden) {
    frame->RouteCommand(ID_VIEW_TOOLBAR);
    ASSERT_TRUE(frame->ToolBar()->isHidden());
    list->setFocus();
    field->setText(QStringLiteral("old"));
    QTest::keyClick(list->currentView(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(frame->ToolBar()->isVisible());
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->selectedText(), QStringLiteral("old"));  // typing replaces it
}

}  // namespace
}  // namespace kantoria
