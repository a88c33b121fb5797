// Working on many entries at once: the selection of several items, the commands that act on
// all of them, and the report sorted by a click on a heading.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QTemporaryDir>
#include <memory>

#include "core/resources/command_ids.h"
#include "core/text/path_split.h"
#include "core/views/entry_find.h"
#include "core/views/holder_tree_logic.h"
#include "tests/gui/views_fixture.h"

namespace kantoria::test {
namespace {

using Titles = std::vector<std::string>;

class ManyEntriesTest : public ViewsTest {
  protected:
    void SetUp() override {
        doc.SetLastHolder("Docs");
        Open(kEntries);
    }
    Titles SelectedTitles() {
        Titles titles;
        for (const EntryRef e : list->GetSelectedEntries()) titles.emplace_back(e->Title());
        return titles;
    }
    void Click(std::string_view title, Qt::KeyboardModifiers mods) {
        QAbstractItemView* view = list->currentView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, mods,
                          view->visualRect(ListIndex(title)).center());
    }
    void ClickHeading(int section) {
        QHeaderView* header = list->reportView()->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(section) + 5, header->height() / 2});
    }
    // What reading the catalogue again does to the entries: all dropped, then appended anew.
    void ReadAgain() {
        doc.Entries().Clear();
        for (const TestEntry& e : kEntries) doc.Entries().Append(e.path, e.title, e.comment);
        doc.RebuildHolders();
        doc.UpdateAllViews(nullptr);
    }

    const std::vector<TestEntry> kEntries = {{"C:\\Docs\\a.txt", "Alpha", "first\r\nsecond"},
                                             {"C:\\Docs\\b.txt", "beta", ""},
                                             {"C:\\Docs\\c.txt", "gamma", ""},
                                             {"C:\\Docs\\A\\x.txt", "Other", ""}};
};

TEST_F(ManyEntriesTest, ClicksAndShiftArrowsSelectManyInEveryMode) {
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (const int mode : {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS}) {
        SCOPED_TRACE(mode);
        if (mode == ID_VIEW_LARGEICON) list->OnViewLargeIcon();
        if (mode == ID_VIEW_SMALLICON) list->OnViewSmallIcon();
        if (mode == ID_VIEW_LIST) list->OnViewList();
        if (mode == ID_VIEW_DETAILS) list->OnViewDetails();
        ClickListItem("Alpha");
        Click("gamma", Qt::ShiftModifier);
        EXPECT_EQ(SelectedTitles(), (Titles{"Alpha", "beta", "gamma"}));
        Click("beta", Qt::ControlModifier);
        EXPECT_EQ(SelectedTitles(), (Titles{"Alpha", "gamma"}));
        // The current item is no longer selected: the one-entry commands take the first.
        EXPECT_EQ(SelectedTitle(), "Alpha");
        Click("gamma", Qt::ControlModifier);
        EXPECT_EQ(SelectedTitles(), (Titles{"Alpha"}));
        EXPECT_EQ(doc.SelectedTitle(), "gamma");  // the current entry's title
    }
    // Shift with the arrows, in the report where they move one row (from an item that was not
    // selected: a plain click on a selected one keeps the range's anchor where it was).
    QAbstractItemView* view = list->currentView();
    ClickListItem("beta");
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(SelectedTitles(), (Titles{"beta", "gamma"}));
    EXPECT_EQ(SelectedTitle(), "gamma");
    EXPECT_EQ(doc.SelectedTitle(), "gamma");
}

TEST_F(ManyEntriesTest, SelectAllThenDeleteAsksOnceForAll) {
    EXPECT_TRUE(list->CommandEnabled(ID_EDIT_SELECT_ALL));
    list->RunCommand(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(SelectedTitles(), (Titles{"Alpha", "beta", "gamma"}));
    messages.answers = {MbAnswer::Cancel, MbAnswer::Ok};
    list->RunCommand(ID_ENTRY_DELETE);
    EXPECT_EQ(doc.Entries().size(), 4u);
    list->RunCommand(ID_ENTRY_DELETE);
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const ShownBox& box : messages.shown) {
        EXPECT_EQ(box.text, "3 件の項目を消してよろしいですか？");
        EXPECT_EQ(box.buttons, MbButtons::OkCancel);
    }
    EXPECT_EQ(doc.Entries().size(), 1u);
    EXPECT_TRUE(ListedTitles().empty());
    EXPECT_FALSE(list->CommandEnabled(ID_EDIT_SELECT_ALL));
}

TEST_F(ManyEntriesTest, HeadingClicksSortTheReportUntilTheCatalogueIsReadAgain) {
    list->OnViewDetails();
    const std::pair<int, Titles> clicks[] = {
        {EntryListModel::kTitleColumn, {"Alpha", "beta", "gamma"}},
        {EntryListModel::kTitleColumn, {"gamma", "beta", "Alpha"}},
        {EntryListModel::kCommentColumn, {"beta", "gamma", "Alpha"}},
        {EntryListModel::kCommentColumn, {"Alpha", "beta", "gamma"}},
        {EntryListModel::kPathColumn, {"Alpha", "beta", "gamma"}},
        {EntryListModel::kPathColumn, {"gamma", "beta", "Alpha"}},
    };
    for (const auto& [section, titles] : clicks) {
        ClickHeading(section);
        EXPECT_EQ(ListedTitles(), titles) << section;
    }
    QHeaderView* header = list->reportView()->header();
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), EntryListModel::kPathColumn);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    // An edit's refresh keeps the order; so does a find, whose rows come from many holders.
    list->RefreshList();
    EXPECT_EQ(ListedTitles(), (Titles{"gamma", "beta", "Alpha"}));
    list->Show({ListContent::Kind::Find, "docs"});
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(ListedTitles(), (Titles{"gamma", "beta", "Other", "Alpha"}));
    // Explorer opens each folder of the selected entries once.
    list->RunCommand(ID_EDIT_SELECT_ALL);
    list->RunCommand(ID_ENTRY_EXPLORER);
    EXPECT_EQ(shell.openedFolders, (Titles{"C:\\Docs\\", "C:\\Docs\\A\\"}));
    ReadAgain();
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta", "gamma"}));
    EXPECT_FALSE(header->isSortIndicatorShown());
}

// Files that exist, so that opening them reaches the desktop.
class OpenManyTest : public ViewsTest {
  protected:
    std::string Make(const QString& name) {
        QDir().mkpath(QFileInfo(dir.filePath(name)).path());
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return QDir::toNativeSeparators(dir.filePath(name)).toStdString();
    }
    QTemporaryDir dir;
};

TEST_F(OpenManyTest, MoreThanTenFilesAskFirstAndEachFolderOpensOnce) {
    std::vector<TestEntry> entries;
    for (int i = 0; i < 11; ++i) {
        const QString name = QString("f%1.txt").arg(i, 2, 10, QChar('0'));
        entries.push_back({Make(name), name.toStdString(), ""});
    }
    doc.SetLastHolder(HolderLabel(FolderOf(entries[0].path)));
    Open(entries);
    struct Case {
        int selected;
        std::vector<MbAnswer> answers;
        std::size_t questions, opened;
    };
    const Case cases[] = {
        {10, {}, 0, 10}, {11, {MbAnswer::Cancel}, 1, 0}, {11, {MbAnswer::Ok}, 1, 11}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        messages.shown.clear();
        shell.openedFiles.clear();
        messages.answers.assign(c.answers.begin(), c.answers.end());
        ClickListItem(entries[0].title);
        QAbstractItemView* view = list->currentView();
        const std::string& last = entries[static_cast<std::size_t>(c.selected - 1)].title;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          view->visualRect(ListIndex(last)).center());
        list->RunCommand(ID_ENTRY_OPEN);
        ASSERT_EQ(messages.shown.size(), c.questions);
        for (const ShownBox& box : messages.shown)
            EXPECT_EQ(box.text, "11 個のファイルを開きます。よろしいですか？");
        EXPECT_EQ(shell.openedFiles.size(), c.opened);
    }
    list->RunCommand(ID_ENTRY_EXPLORER);
    EXPECT_EQ(shell.openedFolders,
              (std::vector<std::string>{std::string(FolderOf(entries[0].path))}));
}

}  // namespace
}  // namespace kantoria::test
