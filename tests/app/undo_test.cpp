#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "core/resources/command_ids.h"
#include "core/views/entry_list_logic.h"
#include "core/views/holder_tree_logic.h"
#include "tests/app/app_fakes.h"
#include "ui/views/entry_list_view.h"

namespace kantoria::test {
namespace {

using Shot = std::vector<std::string>;

// The entries as the file would hold them, with their identities.
Shot ShotOf(const Catalogue& doc) {
    Shot shot;
    for (const Entry& e : doc.Entries())
        shot.push_back(std::to_string(e.Id()) + "|" + std::string(e.Path()) + "|" +
                       std::string(e.Title()) + "|" + std::string(e.Comment()));
    return shot;
}

class UndoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.app->NewDocument());
        frame = h.app->MainFrame();
        frame->ShowAtSavedPlace();
        list = static_cast<EntryListView*>(frame->Views().list->Widget());
    }
    Catalogue& Doc() { return h.app->Document()->Doc(); }
    void Show(const std::string& folder, const std::string& selected = {}) {
        Doc().SetLastHolder(HolderLabel(folder));
        Doc().SetSelectedTitle(selected);
        Doc().UpdateAllViews(nullptr);
    }
    // The entry dialog takes the title given.
    void EntryDialogTypes(const QString& title) {
        h.dialogs.inspect = [title](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("title"))->setText(title);
            dialog.accept();
        };
    }
    void RenameInPlace(const QString& text) {
        QAbstractItemView* view = list->currentView();
        QTest::keyClick(view, Qt::Key_F2);
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    std::string Written(const char* name, const char* bytes) {
        const QString path = h.folder.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path.toStdString();
    }

    AppHarness h;
    MainWindow* frame = nullptr;
    EntryListView* list = nullptr;
};

// Every kind of change the user makes to the entries is one step, named in the menu and the
// status bar; undo gives back exactly the entries before (places and identities included) and
// redo exactly those after.
TEST_F(UndoTest, EachKindOfChangeIsOneStepUndoneAndRedone) {
    for (const char* title : {"a", "b", "c"})
        Doc().Entries().Append(std::string("/nowhere/") + title + ".txt", title, "");
    Doc().RebuildHolders();
    QTemporaryDir found;
    for (const char* name : {"x.txt", "y.txt"})
        QFile(found.filePath(name)).open(QIODevice::WriteOnly);

    struct Case {
        const char* step;
        std::function<void()> change;
    };
    const std::vector<Case> cases = {
        {"追加",
         [&] {
             Show("/nowhere/");
             h.files.answers = {"/nowhere/d.txt"};
             EntryDialogTypes(QStringLiteral("d"));
             frame->RouteCommand(ID_ENTRY_ADD);
         }},
        {"更新",
         [&] {
             Show("/nowhere/", "b");
             EntryDialogTypes(QStringLiteral("b2"));
             frame->RouteCommand(ID_ENTRY_UPDATE);
         }},
        {"名前の変更",
         [&] {
             Show("/nowhere/", "a");
             RenameInPlace(QStringLiteral("a2"));
         }},
        {"切り取り",
         [&] {
             Show("/nowhere/", "c");
             frame->RouteCommand(ID_EDIT_CUT);
         }},
        {"貼り付け",
         [&] {
             h.files.answers = {"/else/c.txt"};
             EntryDialogTypes(QStringLiteral("c"));
             frame->RouteCommand(ID_EDIT_PASTE);
         }},
        {"自動検索 (2 件)",
         [&] {
             h.dialogs.inspect = [&](QDialog& dialog) {
                 dialog.findChild<QLineEdit*>(QStringLiteral("folder"))->setText(found.path());
                 dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
             };
             frame->RouteCommand(ID_TOOLS_SEARCH);
         }},
        {"ホルダーの移動 (3 件)",
         [&] {
             Show("/nowhere/");
             h.files.answers = {"/moved"};
             frame->RouteCommand(ID_HOLDER_RELOCATE);
         }},
        {"インポート (2 件)",
         [&] {
             h.files.answers = {Written("in.csv", "path,title,comment\r\n/i/1,b2,\r\n/i/2,z,\r\n")};
             frame->RouteCommand(ID_FILE_IMPORT);
         }},
        {"削除 (3 件)",
         [&] {
             Show("/moved/");
             list->currentView()->selectAll();
             frame->RouteCommand(ID_ENTRY_DELETE);
         }},
    };
    for (const Case& c : cases) {
        const Shot before = ShotOf(Doc());
        c.change();
        const Shot after = ShotOf(Doc());
        ASSERT_NE(after, before) << c.step;
        frame->UpdateCommandUI();
        QAction* undo = frame->MenuAction(ID_EDIT_UNDO);
        EXPECT_EQ(undo->text().toStdString(), std::string("元に戻す(&U): ") + c.step + "\tCtrl+Z");
        EXPECT_EQ(undo->statusTip().toStdString(), std::string("元に戻す: ") + c.step);

        frame->RouteCommand(ID_EDIT_UNDO);
        EXPECT_EQ(ShotOf(Doc()), before) << c.step;
        frame->UpdateCommandUI();
        EXPECT_EQ(frame->MenuAction(ID_EDIT_REDO)->text().toStdString(),
                  std::string("やり直し(&R): ") + c.step + "\tCtrl+Y");
        frame->RouteCommand(ID_EDIT_REDO);
        EXPECT_EQ(ShotOf(Doc()), after) << c.step;
        EXPECT_EQ(Doc().Holders().empty(), Doc().Entries().empty()) << c.step;
        // What the document keeps of each holder's entries agrees with the entries.
        for (const Holder& holder : Doc().Holders())
            EXPECT_EQ(EntriesOfFolder(Doc(), holder.folder),
                      EntriesOfFolder(Doc().Entries(), holder.folder))
                << c.step << " " << holder.folder;
    }
}

// The history belongs to the catalogue as read: undoing back to what the file holds clears the
// modified mark, a new change drops what was undone, and reading the file again or beginning a
// new catalogue forgets every step. The table's keys reach undo and redo from the list.
TEST_F(UndoTest, HistoryFollowsTheFileAndTheKeys) {
    ASSERT_TRUE(h.app->OpenDocumentFile(h.CataloguePath()));
    QApplication::setActiveWindow(frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    // The catalogue opens on its stored holder and selected entry.
    ASSERT_EQ(Doc().SelectedTitle(), "四半期報告書");
    const Shot read = ShotOf(Doc());
    auto key = [&](Qt::Key k, Qt::KeyboardModifiers m) {
        QTest::keyClick(list->currentView(), k, m);
    };
    auto undoable = [&] { return frame->StateOf(ID_EDIT_UNDO).enabled; };
    auto redoable = [&] { return frame->StateOf(ID_EDIT_REDO).enabled; };

    EXPECT_FALSE(undoable());
    frame->RouteCommand(ID_ENTRY_DELETE);
    const Shot deleted = ShotOf(Doc());
    EXPECT_TRUE(Doc().IsModified());
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ShotOf(Doc()), read);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(h.ShownCaption().find('*'), std::string::npos);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ShotOf(Doc()), deleted);
    EXPECT_TRUE(Doc().IsModified());
    key(Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(ShotOf(Doc()), read);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ShotOf(Doc()), deleted);

    // Saved after the delete: that is the clean state now.
    frame->RouteCommand(ID_FILE_SAVE);
    EXPECT_FALSE(Doc().IsModified());
    frame->RouteCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(Doc().IsModified());
    frame->RouteCommand(ID_EDIT_REDO);
    EXPECT_FALSE(Doc().IsModified());

    frame->RouteCommand(ID_EDIT_UNDO);
    ASSERT_TRUE(redoable());
    frame->RouteCommand(ID_EDIT_CUT);
    EXPECT_FALSE(redoable());
    EXPECT_TRUE(undoable());

    for (int command : {ID_VIEW_REFRESH, ID_FILE_NEW}) {
        h.files.answers = {"/n/" + std::to_string(command) + ".txt"};
        EntryDialogTypes(QString::number(command));
        frame->RouteCommand(ID_ENTRY_ADD);
        ASSERT_TRUE(undoable()) << command;
        frame->RouteCommand(command);
        EXPECT_FALSE(undoable()) << command;
    }
}

}  // namespace
}  // namespace kantoria::test
