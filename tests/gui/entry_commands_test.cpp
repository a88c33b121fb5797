// The entry commands of the list, driven as the user would, with scripted dialogs and desktop.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"
#include "core/text/path_split.h"
#include "core/views/holder_tree_logic.h"
#include "tests/gui/views_fixture.h"
#include "ui/dialogs/properties_dialog.h"

namespace kantoria::test {
namespace {

using Titles = std::vector<std::string>;

class EntryCommandsTest : public ViewsTest {
  protected:
    void SetUp() override {
        doc.SetLastHolder("Docs");
        Open({{"C:\\Docs\\a.txt", "Alpha", "first\r\nsecond"},
              {"C:\\Docs\\b.txt", "beta", ""},
              {"C:\\Docs\\c.txt", "gamma", ""},
              {"C:\\Docs\\A\\x.txt", "Other", ""}});
    }
    void Run(int id) { list->RunCommand(id); }
    QPoint EmptySpot() {
        QAbstractItemView* view = list->currentView();
        return {5, view->viewport()->height() - 5};
    }
    // The press, then the context-menu event the window system sends after it.
    void RightClick(QPoint at) {
        QWidget* viewport = list->currentView()->viewport();
        QTest::mousePress(viewport, Qt::RightButton, {}, at);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &menu);
        QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
    }
    void DoubleClick(QPoint at) {
        QAbstractItemView* view = list->currentView();
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }
    QPoint ItemSpot(std::string_view title) {
        return list->currentView()->visualRect(ListIndex(title)).center();
    }
};

TEST_F(EntryCommandsTest, CopyThenPasteTwiceRegistersTheFileTwiceUnderNewTitles) {
    ClickListItem("Alpha");
    Run(ID_EDIT_COPY);
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta", "gamma"}));
    files.answers = {"C:\\Docs\\a.txt", "C:\\Docs\\a.txt"};
    dialogs.answers = {Typed{"Alpha", "kept"}, Typed{"Alpha 2", "kept"}, Typed{"Alpha 3", ""}};
    Run(ID_EDIT_PASTE);
    Run(ID_EDIT_PASTE);
    EXPECT_EQ(files.entryStarts, (Titles{"C:\\Docs\\a.txt", "C:\\Docs\\a.txt"}));
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0], (ShownEntry{"C:\\Docs\\a.txt", "Alpha", "first\nsecond"}));
    // The copied entry still bears its title: the dialog came back with what was typed.
    EXPECT_EQ(dialogs.shown[1], (ShownEntry{"C:\\Docs\\a.txt", "Alpha", "kept"}));
    EXPECT_EQ(dialogs.shown[2].title, "Alpha");
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "Alpha 2", "Alpha 3", "beta", "gamma"}));
    EXPECT_EQ(doc.FindByTitle("Alpha 3")->Path(), "C:\\Docs\\a.txt");
    EXPECT_EQ(SelectedTitle(), "Alpha");
    EXPECT_EQ(doc.ClipTitle(), "Alpha");
}

TEST_F(EntryCommandsTest, CutThenPasteUnderTheSameTitleIsAcceptedAndSelected) {
    ClickListItem("beta");
    Run(ID_EDIT_CUT);
    EXPECT_TRUE(messages.shown.empty());  // a cut asks nothing
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "gamma"}));
    EXPECT_EQ(doc.SelectedTitle(), "beta");
    files.answers = {"C:\\Docs\\moved.txt"};
    dialogs.answers = {Typed{"beta", ""}};
    Run(ID_EDIT_PASTE);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(SelectedTitle(), "beta");
    EXPECT_EQ(doc.FindByTitle("beta")->Path(), "C:\\Docs\\moved.txt");
}

TEST_F(EntryCommandsTest, PasteCancelledOrWithAnEmptyClipboardChangesNothing) {
    EXPECT_FALSE(list->CommandEnabled(ID_EDIT_PASTE));
    Run(ID_EDIT_PASTE);
    EXPECT_TRUE(files.entryStarts.empty());
    ClickListItem("gamma");
    Run(ID_EDIT_COPY);
    EXPECT_TRUE(list->CommandEnabled(ID_EDIT_PASTE));
    Run(ID_EDIT_PASTE);  // the file dialog is cancelled
    files.answers = {"C:\\Docs\\d.txt"};
    Run(ID_EDIT_PASTE);  // the entry dialog is cancelled
    EXPECT_EQ(files.entryStarts.size(), 2u);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(doc.Entries().size(), 4u);
    EXPECT_EQ(doc.ClipTitle(), "gamma");
}

TEST_F(EntryCommandsTest, DeleteAsksEveryTimeAndRemovesOnOkOnly) {
    ClickListItem("gamma");
    messages.answers = {MbAnswer::Cancel, MbAnswer::Ok};
    Run(ID_ENTRY_DELETE);
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta", "gamma"}));
    Run(ID_ENTRY_DELETE);
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta"}));
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const ShownBox& box : messages.shown) {
        EXPECT_EQ(box.text, "gammaを消してよろしいですか？");
        EXPECT_EQ(box.buttons, MbButtons::OkCancel);
        EXPECT_EQ(box.icon, MbIcon::Question);
    }
    EXPECT_EQ(doc.SelectedTitle(), "gamma");
}

// Delete and Ctrl+D ask the same question as the menu; in a title being edited they edit.
TEST_F(EntryCommandsTest, DeleteKeysAskAndRemoveWhileTheListHasTheFocus) {
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QAbstractItemView* view = list->currentView();
    for (const QKeyCombination key :
         {QKeyCombination(Qt::Key_Delete), QKeyCombination(Qt::ControlModifier, Qt::Key_D)}) {
        ClickListItem("gamma");
        view->setFocus();
        messages.answers = {MbAnswer::Cancel};
        QTest::keyClick(view, key.key(), key.keyboardModifiers());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "gammaを消してよろしいですか？");
        messages.shown.clear();
    }
    // A click, not setCurrentIndex: in a list that selects many, that would read the
    // keyboard's modifiers left over from Ctrl+D and add beta to the selection.
    ClickListItem("beta");
    QTest::keyClick(view, Qt::Key_F2);
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(editor->text(), "eta");
    EXPECT_TRUE(messages.shown.empty());
    messages.answers = {MbAnswer::Ok};
    QTest::keyClick(editor, Qt::Key_Escape);
    view->setFocus();
    ClickListItem("gamma");
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta"}));
}

TEST_F(EntryCommandsTest, RemovingTheLastEntryOfAHolderRefillsTheTree) {
    QSignalSpy refills(tree->holderModel(), &QAbstractItemModel::modelReset);
    ClickListItem("beta");
    Run(ID_EDIT_CUT);
    EXPECT_EQ(refills.count(), 0);  // other entries still lie in that folder

    ClickHolder("C:\\Docs\\A\\");
    refills.clear();
    ClickListItem("Other");
    Run(ID_EDIT_CUT);
    EXPECT_EQ(refills.count(), 1);
    EXPECT_EQ(tree->holderModel()->tree().FindByFolder("C:\\Docs\\A\\"), kNoHolderNode);
    EXPECT_TRUE(ListedTitles().empty());
}

TEST_F(EntryCommandsTest, UpdateEditsThePickedEntryAndLeavesTheSelectedTitle) {
    ClickListItem("beta");
    dialogs.answers = {Typed{"gamma", ""}, Typed{"Beta", "new"}};
    Run(ID_ENTRY_UPDATE);
    EXPECT_EQ(dialogs.shown[1].title, "gamma");
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "Beta", "gamma"}));
    EXPECT_EQ(doc.FindByTitle("Beta")->Comment(), "new");
    EXPECT_EQ(SelectedTitle(), "(none)");
    EXPECT_EQ(doc.SelectedTitle(), "beta");
}

TEST_F(EntryCommandsTest, AddRegistersTheChosenFileAndSelectsIt) {
    files.answers = {"C:\\Docs\\new.txt"};
    dialogs.answers = {Typed{"", ""}, Typed{"new one", "c"}};
    Run(ID_ENTRY_ADD);
    EXPECT_EQ(files.entryStarts, (Titles{""}));
    EXPECT_EQ(dialogs.shown[0], (ShownEntry{"C:\\Docs\\new.txt", "", ""}));
    EXPECT_EQ(ListedTitles(), (Titles{"Alpha", "beta", "gamma", "new one"}));
    EXPECT_EQ(SelectedTitle(), "new one");
}

TEST_F(EntryCommandsTest, CommandsThatNeedAnEntryWaitForOne) {
    for (int id : {ID_ENTRY_OPEN, ID_ENTRY_EXPLORER, ID_ENTRY_UPDATE, ID_ENTRY_DELETE,
                   ID_ENTRY_PROPERTIES, ID_EDIT_CUT, ID_EDIT_COPY}) {
        EXPECT_FALSE(list->CommandEnabled(id)) << id;
        Run(id);
    }
    EXPECT_TRUE(list->CommandEnabled(ID_ENTRY_ADD));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(dialogs.shown.empty() && dialogs.others.empty());
    EXPECT_TRUE(shell.openedFiles.empty() && shell.openedFolders.empty());
    EXPECT_EQ(doc.Entries().size(), 4u);
}

TEST_F(EntryCommandsTest, PopupMenuIsMenu137AndShownOnItemsOnly) {
    QStringList texts;
    for (QAction* action : list->popupMenu()->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(texts, (QStringList{"開く(&O)", "ｴｸｽﾌﾟﾛｰﾗｰ(&E)", "-", "更新(&U)", "-", "切り取り(&T)",
                                  "ｺﾋﾟｰ(&C)", "-", "削除(&D)", "-", "ﾌﾟﾛﾊﾟﾃｨ(&P)"}));
    RightClick(EmptySpot());
    EXPECT_FALSE(list->popupMenu()->isVisible());

    ClickListItem("Alpha");
    RightClick(ItemSpot("gamma"));
    EXPECT_TRUE(list->popupMenu()->isVisible());
    EXPECT_EQ(SelectedTitle(), "gamma");
    list->popupMenu()->close();
    list->popupMenu()->actions().at(8)->trigger();  // 削除
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "gammaを消してよろしいですか？");
}

TEST_F(EntryCommandsTest, PropertiesShowThePickedEntry) {
    ClickListItem("Alpha");
    std::vector<std::string> shown;
    dialogs.onOther = [&](QDialog& dialog) {
        const auto* properties = qobject_cast<PropertiesDialog*>(&dialog);
        ASSERT_NE(properties, nullptr);
        shown = {properties->title, properties->comment, properties->file};
    };
    Run(ID_ENTRY_PROPERTIES);
    EXPECT_EQ(shown, (Titles{"Alpha", "first\r\nsecond", "C:\\Docs\\a.txt"}));
    EXPECT_EQ(doc.Entries().size(), 4u);
}

// Files whose names a command line would take apart.
class OpenEntryTest : public ViewsTest {
  protected:
    std::string Make(const QString& name) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path.toStdString();
    }
    QTemporaryDir dir;
};

TEST_F(OpenEntryTest, PathsReachTheDesktopExactlyAsRegistered) {
    const QString names[] = {"with space.txt",     "quote'\"s.txt", "semi;colon.txt",
                             "$(touch pwned).txt", "-rf",           "back`tick`.txt"};
    std::vector<TestEntry> entries;
    for (const QString& name : names) entries.push_back({Make(name), name.toStdString(), ""});
    doc.SetLastHolder(HolderLabel(FolderOf(entries[0].path)));
    Open(entries);
    ASSERT_EQ(ListedTitles().size(), std::size(names));
    const std::string folder(FolderOf(entries[0].path));
    for (const TestEntry& e : entries) {
        SCOPED_TRACE(e.title);
        ClickListItem(e.title);
        list->RunCommand(ID_ENTRY_OPEN);
        EXPECT_EQ(shell.openedFiles.back(), e.path);
        list->RunCommand(ID_ENTRY_EXPLORER);
        EXPECT_EQ(shell.openedFolders.back(), folder);
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(QFile::exists(dir.filePath("pwned")));
}

TEST_F(OpenEntryTest, DoubleClickOpensTheItemUnderThePointerOnly) {
    const std::string a = Make("a.txt"), b = Make("b.txt");
    doc.SetLastHolder(HolderLabel(FolderOf(a)));
    Open({{a, "a", ""}, {b, "b", ""}});
    ClickListItem("a");
    QAbstractItemView* view = list->currentView();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, {5, view->viewport()->height() - 5});
    EXPECT_TRUE(shell.openedFiles.empty());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       view->visualRect(ListIndex("b")).center());
    EXPECT_EQ(shell.openedFiles, (std::vector<std::string>{b}));

    // Enter opens the selected item.
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ClickListItem("a");
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(shell.openedFiles.back(), a);
}

TEST_F(OpenEntryTest, FailuresShowMessage118AndStartNothing) {
    const std::string there = Make("there.txt");
    const std::string gone = dir.filePath("gone.txt").toStdString();
    doc.SetLastHolder(HolderLabel(FolderOf(there)));
    Open({{there, "there", ""}, {gone, "gone", ""}});
    shell.failing.insert(there);
    shell.failing.insert(std::string(FolderOf(there)));
    ClickListItem("gone");
    list->RunCommand(ID_ENTRY_OPEN);
    EXPECT_TRUE(shell.openedFiles.empty());  // a missing file is not handed on
    ClickListItem("there");
    list->RunCommand(ID_ENTRY_OPEN);
    list->RunCommand(ID_ENTRY_EXPLORER);
    ASSERT_EQ(messages.shown.size(), 3u);
    for (const ShownBox& box : messages.shown) {
        EXPECT_EQ(box.text, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
        EXPECT_EQ(box.buttons, MbButtons::Ok);
    }
}

}  // namespace
}  // namespace kantoria::test
