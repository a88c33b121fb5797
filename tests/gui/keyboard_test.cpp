// Everything the mouse reaches in the two panes, the keyboard reaches too.
#include <QAction>
#include <QMenu>
#include <map>
#include <string>
#include <vector>

#include "tests/gui/views_fixture.h"

namespace kantoria::test {
namespace {

class KeyboardTest : public ViewsTest {
  protected:
    void SetUp() override {
        Open({{"C:\\Docs\\a.txt", "Alpha", ""},
              {"C:\\Docs\\A\\c.txt", "Gamma", ""},
              {"D:\\Work\\d.txt", "Delta", ""}});
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
};

// Each case starts with Work shown, its entry selected and the pane given the focus. A menu
// that comes up is tried at once: its ｴｸｽﾌﾟﾛｰﾗｰ opens the folder of what it was opened on.
TEST_F(KeyboardTest, KeysShowHoldersAndOpenEitherPanesMenu) {
    enum Pane { Tree, List, None };
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers mods = Qt::NoModifier;
    };
    const Key up{Qt::Key_Up};
    const struct {
        Pane pane;
        std::vector<Key> keys;
        const char* shown;
        const char* highlighted;
        Pane menu;  // whose menu comes up
    } cases[] = {
        {Tree, {up}, "D:\\Work\\", "C:\\Docs\\", None},  // the arrows only highlight
        {Tree, {up, {Qt::Key_Return}}, "C:\\Docs\\", "C:\\Docs\\", None},
        {Tree, {up, {Qt::Key_Enter, Qt::KeypadModifier}}, "C:\\Docs\\", "C:\\Docs\\", None},
        {Tree, {up, {Qt::Key_Space}}, "C:\\Docs\\", "C:\\Docs\\", None},
        {Tree, {up, {Qt::Key_Menu}}, "D:\\Work\\", "C:\\Docs\\", Tree},
        {Tree, {up, {Qt::Key_F10, Qt::ShiftModifier}}, "D:\\Work\\", "C:\\Docs\\", Tree},
        {Tree, {{Qt::Key_F10}}, "D:\\Work\\", "D:\\Work\\", None},
        {List, {{Qt::Key_Menu}}, "D:\\Work\\", "D:\\Work\\", List},
        {List, {{Qt::Key_F10, Qt::ShiftModifier}}, "D:\\Work\\", "D:\\Work\\", List},
    };
    const std::map<std::string, std::string> listed{{"C:\\Docs\\", "Alpha"},
                                                    {"D:\\Work\\", "Delta"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        ClickHolder("D:\\Work\\");
        ClickListItem("Delta");
        shell.openedFolders.clear();
        QWidget* target = c.pane == Tree ? static_cast<QWidget*>(tree) : list->currentView();
        target->setFocus();
        for (const Key& key : c.keys) QTest::keyClick(target, key.key, key.mods);
        EXPECT_EQ(HighlightedFolder(), c.highlighted);
        EXPECT_EQ(ListedTitles(), (std::vector<std::string>{listed.at(c.shown)}));
        EXPECT_EQ(tree->popupMenu()->isVisible(), c.menu == Tree);
        EXPECT_EQ(list->popupMenu()->isVisible(), c.menu == List);
        if (c.menu == None) continue;
        QMenu* menu = c.menu == Tree ? tree->popupMenu() : list->popupMenu();
        for (QAction* action : menu->actions())
            if (action->text() == "ｴｸｽﾌﾟﾛｰﾗｰ(&E)") action->trigger();
        menu->close();
        EXPECT_EQ(shell.openedFolders, (std::vector<std::string>{c.highlighted}));
    }
}

class KeyboardFolderTest : public ViewsTest {};

// A grey folder node opens and closes on Enter, and its menu moves everything below it.
TEST_F(KeyboardFolderTest, TheKeyboardOpensAFolderNodeAndRelocatesIt) {
    Open({{"/usr/share/doc/a/1.txt", "1", ""},
          {"/usr/share/doc/b/2.txt", "2", ""},
          {"/usr/lib/x/3", "3", ""}});
    tree->SetRelocateServices({files, services.icons, [](const std::string&) { return true; }});
    tree->SetShowFolders(true);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const QModelIndex usr = tree->model()->index(0, 0);
    ASSERT_EQ(usr.data().toString(), "/usr");
    tree->setFocus();
    tree->setCurrentIndex(usr);
    for (const bool expanded : {true, false}) {
        QTest::keyClick(tree, Qt::Key_Return);
        EXPECT_EQ(tree->isExpanded(usr), expanded);
        EXPECT_TRUE(ListedTitles().empty());
    }
    QTest::keyClick(tree, Qt::Key_Menu);
    ASSERT_TRUE(tree->popupMenu()->isVisible());
    files.answers = {"/opt"};
    tree->popupMenu()->actions().back()->trigger();
    tree->popupMenu()->close();
    for (const Entry& e : doc.Entries()) EXPECT_EQ(e.Path().rfind("/opt/", 0), 0u);
}

}  // namespace
}  // namespace kantoria::test
