#include <QAction>
#include <QMenu>

#include "core/resources/string_table.h"
#include "tests/gui/views_fixture.h"

namespace kantoria::test {
namespace {

class HolderTreeViewTest : public ViewsTest {
  protected:
    void SetUp() override {
        Open({{"C:\\Docs\\a.txt", "Alpha", ""},
              {"C:\\Docs\\b.txt", "beta", ""},
              {"C:\\Docs\\A\\c.txt", "Gamma", ""},
              {"D:\\Work\\d.txt", "Delta", ""}});
    }
};

TEST_F(HolderTreeViewTest, ShowsTheNestedHoldersCollapsed) {
    const QAbstractItemModel* model = tree->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, 0).data().toString(), "Docs");
    EXPECT_EQ(model->index(1, 0).data().toString(), "Work");
    EXPECT_EQ(model->index(0, 0, model->index(0, 0)).data().toString(), "A");
    EXPECT_FALSE(tree->isExpanded(model->index(0, 0)));
    EXPECT_EQ(ShownFolder(), "(none)");
    EXPECT_TRUE(ListedTitles().empty());
}

TEST_F(HolderTreeViewTest, ClickAnywhereOnTheRowChoosesTheHolder) {
    const QRect work = tree->visualRect(TreeIndex("D:\\Work\\"));
    const QPoint points[] = {work.center(),
                             {work.left() + 2, work.center().y()},
                             {tree->viewport()->width() - 3, work.center().y()}};
    for (const QPoint at : points) {
        ClickHolder("C:\\Docs\\");
        ClickTree(at);
        EXPECT_EQ(doc.LastHolder(), "Work");
        EXPECT_EQ(ShownFolder(), "D:\\Work\\");
        EXPECT_EQ(ListedTitles(), (std::vector<std::string>{"Delta"}));
    }
    ClickHolder("C:\\Docs\\A\\");
    EXPECT_EQ(doc.LastHolder(), "Docs\\A");
    EXPECT_EQ(ListedTitles(), (std::vector<std::string>{"Gamma"}));
}

TEST_F(HolderTreeViewTest, ExpandButtonExpandsAndChoosesTheHolder) {
    ClickHolder("D:\\Work\\");
    const QModelIndex docs = TreeIndex("C:\\Docs\\");
    const QRect rect = tree->visualRect(docs);
    ClickTree({rect.left() - tree->indentation() / 2, rect.center().y()});
    EXPECT_TRUE(tree->isExpanded(docs));
    EXPECT_EQ(doc.LastHolder(), "Docs");
    EXPECT_EQ(ShownFolder(), "C:\\Docs\\");
    EXPECT_EQ(ListedTitles(), (std::vector<std::string>{"Alpha", "beta"}));
}

TEST_F(HolderTreeViewTest, ClickOnEmptySpaceChangesNothing) {
    ClickHolder("D:\\Work\\");
    ClickTree({20, tree->viewport()->height() - 5});
    EXPECT_EQ(doc.LastHolder(), "Work");
    EXPECT_EQ(ShownFolder(), "D:\\Work\\");
    EXPECT_EQ(HighlightedFolder(), "D:\\Work\\");
}

TEST_F(HolderTreeViewTest, RefillKeepsOnlyTheWayToTheShownHolderOpen) {
    ClickHolder("C:\\Docs\\A\\");
    tree->expand(TreeIndex("D:\\Work\\"));
    doc.UpdateAllViews(nullptr);
    EXPECT_TRUE(tree->isExpanded(TreeIndex("C:\\Docs\\")));
    EXPECT_EQ(ShownFolder(), "C:\\Docs\\A\\");
    // A stored path that names nothing selects nothing and stays as it is.
    doc.SetLastHolder("Docs\\");
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(ShownFolder(), "(none)");
    EXPECT_EQ(doc.LastHolder(), "Docs\\");
    EXPECT_FALSE(tree->isExpanded(tree->model()->index(0, 0)));
}

TEST_F(HolderTreeViewTest, RightClickHighlightsAndOffersTheExplorer) {
    ClickHolder("D:\\Work\\");
    ClickHolder("C:\\Docs\\", Qt::RightButton);
    EXPECT_EQ(HighlightedFolder(), "C:\\Docs\\");
    EXPECT_EQ(doc.LastHolder(), "Work");
    EXPECT_EQ(ListedTitles(), (std::vector<std::string>{"Delta"}));
    QMenu* menu = tree->popupMenu();
    ASSERT_TRUE(menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions().front()->text(), "ｴｸｽﾌﾟﾛｰﾗｰ(&E)");
    EXPECT_EQ(menu->actions().back()->text(), "ホルダーの移動先...");
    menu->actions().front()->trigger();
    menu->close();
    EXPECT_EQ(shell.openedFolders, (std::vector<std::string>{"C:\\Docs\\"}));
    EXPECT_TRUE(messages.shown.empty());

    // A right click on empty space does nothing.
    ClickTree({20, tree->viewport()->height() - 5}, Qt::RightButton);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(HighlightedFolder(), "C:\\Docs\\");
}

TEST_F(HolderTreeViewTest, FailedExplorerSaysSo) {
    shell.failing.insert("D:\\Work\\");
    ClickHolder("D:\\Work\\", Qt::RightButton);
    tree->popupMenu()->actions().front()->trigger();
    tree->popupMenu()->close();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, LoadString(118));
    EXPECT_EQ(messages.shown[0].buttons, MbButtons::Ok);
}

class EqualLabelsTest : public ViewsTest {
  protected:
    void SetUp() override {
        Open({{"C:\\A\\Docs\\c.txt", "on C", ""}, {"D:\\Docs\\d.txt", "on D", ""}});
    }
};

TEST_F(EqualLabelsTest, EachItemShowsAndOpensItsOwnHolder) {
    for (const char* folder : {"C:\\A\\Docs\\", "D:\\Docs\\"}) {
        ClickHolder(folder);
        EXPECT_EQ(doc.LastHolder(), "Docs");
        const std::string own = folder[0] == 'C' ? "on C" : "on D";
        EXPECT_EQ(ListedTitles(), (std::vector<std::string>{own}));
        // Still the clicked one after the document refreshes everything.
        doc.UpdateAllViews(nullptr);
        EXPECT_EQ(ShownFolder(), folder);
        EXPECT_EQ(ListedTitles(), (std::vector<std::string>{own}));
        ClickHolder(folder, Qt::RightButton);
        tree->popupMenu()->actions().front()->trigger();
        tree->popupMenu()->close();
        EXPECT_EQ(shell.openedFolders.back(), folder);
    }
}

class PosixTreeTest : public ViewsTest {
  protected:
    void SetUp() override {
        Open({{"/memo.txt", "memo", ""},
              {"/home/u/a.txt", "a", ""},
              {"/home/u/docs/b.txt", "b", ""}});
    }
};

TEST_F(PosixTreeTest, RootIsShownAsSlashAndItsHoldersAreFoundAgain) {
    ASSERT_EQ(tree->model()->rowCount(), 1);
    EXPECT_EQ(tree->model()->index(0, 0).data().toString(), "/");
    ClickHolder("/home/u/docs/");
    EXPECT_EQ(doc.LastHolder(), "\\u\\docs");
    EXPECT_EQ(ListedTitles(), (std::vector<std::string>{"b"}));
    doc.SetLastHolderFolder({});  // as after loading the file again
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(ShownFolder(), "/home/u/docs/");
    EXPECT_EQ(ListedTitles(), (std::vector<std::string>{"b"}));
    ClickHolder("/");
    EXPECT_EQ(doc.LastHolder(), "");
    EXPECT_EQ(ListedTitles(), (std::vector<std::string>{"memo"}));
}

// Linux tells letter case apart: Docs and docs are two folders, so two items, each listing and
// opening its own.
class CaseTreeTest : public ViewsTest {
  protected:
    void SetUp() override {
        Open({{"/srv/Docs/a.txt", "upper", ""}, {"/srv/docs/b.txt", "lower", ""}});
    }
};

TEST_F(CaseTreeTest, DocsAndDocsAreTwoItemsEachOpeningItsOwnFolder) {
    EXPECT_EQ(tree->model()->rowCount(), 2);
    for (const char* folder : {"/srv/Docs/", "/srv/docs/"}) {
        ClickHolder(folder);
        const std::string own = folder[5] == 'D' ? "upper" : "lower";
        EXPECT_EQ(ListedTitles(), (std::vector<std::string>{own}));
        doc.UpdateAllViews(nullptr);
        EXPECT_EQ(ShownFolder(), folder);
        ClickHolder(folder, Qt::RightButton);
        tree->popupMenu()->actions().front()->trigger();
        tree->popupMenu()->close();
        EXPECT_EQ(shell.openedFolders.back(), folder);
    }
}

}  // namespace
}  // namespace kantoria::test
