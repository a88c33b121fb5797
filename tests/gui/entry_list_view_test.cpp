#include <QHeaderView>
#include <QLineEdit>
#include <functional>

#include "core/resources/string_table.h"
#include "tests/gui/views_fixture.h"

namespace kantoria::test {
namespace {

using Titles = std::vector<std::string>;

class EntryListViewTest : public ViewsTest {
  protected:
    void SetUp() override {
        doc.SetTitleWidth(120);
        doc.SetCommentWidth(300);
        doc.SetPathWidth(90);
        doc.SetLastHolder("Docs");
        doc.SetSelectedTitle("beta");
        Open({{"C:\\Docs\\c.txt", "gamma", "two\r\nlines"},
              {"C:\\Docs\\a.txt", "Alpha", ""},
              {"C:\\Docs\\b.txt", "beta", ""},
              {"C:\\Docs\\A\\x.txt", "Other", ""},
              {"C:\\Archive\\Docs\\y.txt", "Stranger", ""}});
    }

    // Edits the title of the item in place, as typing and a key would.
    void EditTitle(std::string_view title, const QString& text, Qt::Key key = Qt::Key_Return) {
        QAbstractItemView* view = list->currentView();
        view->setCurrentIndex(ListIndex(title));
        QTest::keyClick(view, Qt::Key_F2);
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, key);
        // The delegate hands the text over from the event loop, the list is rebuilt from there
        // too, and the editor goes later still.
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
};

TEST_F(EntryListViewTest, ListsTheHolderInTitleOrderWithTheSelectionRestored) {
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(SelectedTitle(), "beta");
    EXPECT_EQ(list->entryModel()->index(RowOf("gamma"), 1).data().toString(), "two  lines");
    EXPECT_EQ(list->entryModel()->index(RowOf("gamma"), 2).data().toString(), "C:\\Docs\\c.txt");
}

TEST_F(EntryListViewTest, ReportModeHasThreeLeftAlignedColumnsAtTheStoredWidths) {
    ASSERT_EQ(list->viewType(), ViewType::Report);
    QHeaderView* header = list->reportView()->header();
    ASSERT_EQ(header->count(), 3);
    const char* headings[] = {"タイトル", "コメント", "Path"};
    const int widths[] = {120, 300, 90};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list->entryModel()->headerData(i, Qt::Horizontal).toString(), headings[i]);
        EXPECT_EQ(header->sectionSize(i), widths[i]);
        EXPECT_EQ(list->entryModel()->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole),
                  QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter));
    }
    // A dragged width lasts until the next refresh and never reaches the document.
    header->resizeSection(0, 333);
    ClickHolder("C:\\Docs\\A\\");
    EXPECT_EQ(header->sectionSize(0), 120);
    EXPECT_EQ(doc.TitleWidth(), 120);
}

TEST_F(EntryListViewTest, ModeSwitchesKeepColumnsWidthsAndSelection) {
    struct Mode {
        std::function<void(EntryListView&)> command;
        ViewType type;
        QListView::ViewMode viewMode;
        QListView::Flow flow;
    };
    const Mode modes[] = {
        {[](EntryListView& v) { v.OnViewLargeIcon(); }, ViewType::LargeIcon, QListView::IconMode,
         QListView::LeftToRight},
        {[](EntryListView& v) { v.OnViewSmallIcon(); }, ViewType::SmallIcon, QListView::ListMode,
         QListView::LeftToRight},
        {[](EntryListView& v) { v.OnViewList(); }, ViewType::List, QListView::ListMode,
         QListView::TopToBottom},
    };
    for (const Mode& m : modes) {
        m.command(*list);
        EXPECT_EQ(list->viewType(), m.type);
        EXPECT_EQ(list->currentView(), list->iconView());
        EXPECT_TRUE(list->iconView()->isVisible());
        EXPECT_EQ(list->iconView()->viewMode(), m.viewMode);
        EXPECT_EQ(list->iconView()->flow(), m.flow);
        EXPECT_EQ(SelectedTitle(), "beta");
        EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta", "gamma"}));
        list->reportView()->header()->resizeSection(1, 10);
        list->OnViewDetails();
        EXPECT_TRUE(list->reportView()->isVisible());
        EXPECT_EQ(list->reportView()->header()->count(), 3);
        EXPECT_EQ(list->reportView()->header()->sectionSize(1), 300);
        EXPECT_EQ(SelectedTitle(), "beta");
    }
}

TEST_F(EntryListViewTest, SelectionFollowsTheUserAndSurvivesHolderChanges) {
    ClickListItem("gamma");
    EXPECT_EQ(doc.SelectedTitle(), "gamma");
    ClickHolder("C:\\Docs\\A\\");
    EXPECT_EQ(ListedTitles(), (Titles{"Other"}));
    EXPECT_EQ(SelectedTitle(), "(none)");
    EXPECT_EQ(doc.SelectedTitle(), "gamma");
    ClickHolder("C:\\Docs\\");
    EXPECT_EQ(SelectedTitle(), "gamma");
    // Clicking empty space clears the selection but keeps the title for the next refresh.
    QAbstractItemView* view = list->currentView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, {5, view->viewport()->height() - 5});
    EXPECT_EQ(SelectedTitle(), "(none)");
    EXPECT_EQ(doc.SelectedTitle(), "gamma");
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(SelectedTitle(), "gamma");
}

TEST_F(EntryListViewTest, RefillNeverChangesTheSelectedTitle) {
    for (const char* selected : {"Nowhere", "BETA", "Alpha"}) {
        doc.SetSelectedTitle(selected);
        doc.UpdateAllViews(nullptr);
        list->OnViewList();
        list->OnViewDetails();
        EXPECT_EQ(doc.SelectedTitle(), selected);
    }
    EXPECT_EQ(SelectedTitle(), "Alpha");
}

TEST_F(EntryListViewTest, RenameInPlaceMovesTheItemAndSelectsIt) {
    EditTitle("Alpha", "zeta");
    EXPECT_EQ(ListedTitles(), (Titles{"beta", "gamma", "zeta"}));
    EXPECT_EQ(SelectedTitle(), "zeta");
    EXPECT_EQ(doc.SelectedTitle(), "zeta");
    EXPECT_EQ(doc.FindByTitle("zeta")->Path(), "C:\\Docs\\a.txt");
    const QRect shown = list->currentView()->visualRect(ListIndex("zeta"));
    EXPECT_TRUE(list->currentView()->viewport()->rect().intersects(shown));
    // A change of case alone is a rename.
    EditTitle("beta", "Beta");
    EXPECT_EQ(ListedTitles(), (Titles{"Beta", "gamma", "zeta"}));
}

TEST_F(EntryListViewTest, RenameKeepsTheOldTitleWhenThereIsNothingToDo) {
    EditTitle("Alpha", "");
    EditTitle("Alpha", "dropped", Qt::Key_Escape);
    EditTitle("Alpha", "Alpha");
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta", "gamma"}));
    EXPECT_TRUE(messages.shown.empty());
}

// A title written with a twin code shows its character in the list and in the in-place editor;
// the shown text handed back keeps the code (so does the start left as it was), and typed JIS
// forms take the catalogue's spelling.
TEST_F(EntryListViewTest, TwinCodesShowAsTheirCharacterAndSurviveAnUntouchedRename) {
    std::string twin;
    DecodeCp932("\xEE\xE0", twin);
    doc.Entries().Append("C:\\Docs\\d.txt", twin + "木", "");
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta", "gamma", "髙木"}));
    EditTitle(twin + "木", QStringLiteral("髙木"));
    EXPECT_NE(doc.FindByTitle(twin + "木"), nullptr);
    EditTitle(twin + "木", QStringLiteral("髙木 〜"));
    EXPECT_NE(doc.FindByTitle(twin + "木 ～"), nullptr);  // the untouched start keeps its code
}

TEST_F(EntryListViewTest, RenameRefusesLineBreaksWithAMessage) {
    EditTitle("Alpha", "two\nlines");
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta", "gamma"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, LoadString(IDS_TITLE_NOT_STORABLE));
}

TEST_F(EntryListViewTest, RenameToAnotherTitleActsOnThePickedEntry) {
    EditTitle("gamma", "ALPHA");
    // Equal titles stand in catalogue order, and each item shows its own entry.
    ASSERT_EQ(ListedTitles(), (Titles{"ALPHA", "Alpha", "beta"}));
    EXPECT_EQ(SelectedTitle(), "ALPHA");
    EXPECT_EQ(list->GetSelectedEntry()->Path(), "C:\\Docs\\c.txt");
    EXPECT_EQ(list->entryModel()->index(0, 1).data().toString(), "two  lines");
    EXPECT_EQ(list->entryModel()->index(1, 2).data().toString(), "C:\\Docs\\a.txt");
}

TEST_F(EntryListViewTest, ViewTypeIsReadAtConstructionAndWrittenAtDestruction) {
    const std::pair<std::optional<std::string>, ViewType> cases[] = {
        {std::nullopt, ViewType::Report}, {"3", ViewType::List}, {"x", ViewType::LargeIcon}};
    for (const auto& [stored, type] : cases) {
        MemorySettingsStore stores;
        if (stored) stores.WriteProfileString("SETTINGS", "TYPE", *stored);
        {
            EntryListView view(doc, {stores, messages, files, dialogs, shell, services.icons});
            EXPECT_EQ(view.viewType(), type);
            view.OnViewSmallIcon();
        }
        EXPECT_EQ(stores.GetProfileString("SETTINGS", "TYPE", ""), "2");
    }
}

TEST_F(EntryListViewTest, ReportModeShowsTheHeadingsOfAnEmptyCatalogue) {
    Catalogue empty;
    EntryListView view(empty, services);
    view.resize(600, 300);
    view.show();
    empty.UpdateAllViews(nullptr);
    EXPECT_EQ(view.entryModel()->rowCount(), 0);
    EXPECT_EQ(view.reportView()->header()->count(), 3);
    EXPECT_TRUE(view.reportView()->header()->isVisible());
}

}  // namespace
}  // namespace kantoria::test
