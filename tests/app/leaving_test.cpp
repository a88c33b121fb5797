// Leaving a catalogue (another one opened, New, Refresh, the end of the program): only what the
// file does not hold yet is written, questions come only for the user's entries, and a write
// that fails never keeps the user from going on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QUrl>
#include <cstdio>
#include <functional>
#include <memory>

#include "core/os/file_lock.h"
#include "core/resources/command_ids.h"
#include "tests/app/app_fakes.h"
#include "ui/views/entry_list_view.h"
#include "ui/views/holder_tree_view.h"

namespace kantoria {
namespace {

using test::AppHarness;

std::string ReadFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

void WriteFile(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The ways of going to another catalogue, each as the user takes it.
enum class Way { FileOpen, Recent, Drop, HandOver, New };

class LeavingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        first = h.CataloguePath();
        second = h.CataloguePath(QStringLiteral("second.ZNL"));
        h.settings.WriteProfileString("Recent File List", "File1", second);
        h.StorePath(first);
        ASSERT_TRUE(h.app->InitInstance({}));
    }
    void TearDown() override {
        // An immutable file would outlive the temporary folder.
        if (!immutable.isEmpty()) QProcess::execute("chattr", {"-i", immutable});
    }

    Catalogue& Doc() { return h.app->Document()->Doc(); }
    // An entry added as the commands add one: the views hear of it.
    void AddEntry() {
        Doc().Entries().Append("/x/kept.txt", "kept", "");
        Doc().UpdateAllViews(nullptr);
    }

    void Go(Way way, const std::string& target) {
        MainWindow* frame = h.app->MainFrame();
        switch (way) {
            case Way::FileOpen:
                h.files.answers = {target};
                frame->RouteCommand(ID_FILE_OPEN);
                break;
            case Way::Recent:
                for (QAction* action : frame->RecentActions())
                    if (action->text().endsWith(QString::fromStdString(target))) action->trigger();
                break;
            case Way::Drop: {
                QMimeData data;
                data.setUrls({QUrl::fromLocalFile(QString::fromStdString(target))});
                QDragEnterEvent enter(frame->rect().center(), Qt::CopyAction, &data, Qt::LeftButton,
                                      Qt::NoModifier);
                QApplication::sendEvent(frame, &enter);
                QDropEvent drop(frame->rect().center(), Qt::CopyAction, &data, Qt::LeftButton,
                                Qt::NoModifier);
                QApplication::sendEvent(frame, &drop);
                QTest::qWait(20);  // the drop is opened once the drag has ended
                break;
            }
            case Way::HandOver:
                h.app->OpenFromShell(target);
                break;
            case Way::New:
                frame->RouteCommand(ID_FILE_NEW);
                break;
        }
    }
    // The caption expected once the catalogue has been left the given way.
    std::string Arrived(Way way) const {
        return way == Way::New ? "無題 - Kantoria" : "second.ZNL - Kantoria";
    }

    // The current catalogue's file can no longer be written: as root, whom file modes do not
    // stop, it is made immutable; anyone else finds its folder read-only.
    void MakeUnwritable() {
        if (geteuid() == 0) {
            immutable = QString::fromStdString(first);
            ASSERT_EQ(QProcess::execute("chattr", {"+i", immutable}), 0) << "chattr +i failed";
        } else {
            ASSERT_EQ(chmod(h.folder.path().toLocal8Bit().constData(), 0555), 0);
        }
    }

    AppHarness h;
    std::string first, second;
    QString immutable;
};

const Way kWays[] = {Way::FileOpen, Way::Recent, Way::Drop, Way::HandOver, Way::New};

// A file nobody changed is never rewritten, whatever it holds: here no catalogue at all.
TEST_F(LeavingTest, AnUntouchedFileStaysByteForByte) {
    const std::string odd = h.folder.filePath(QStringLiteral("odd.ZNL")).toStdString();
    QByteArray noise(20000, '\0');
    for (char& byte : noise) byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    WriteFile(odd, noise);
    const std::function<void()> leaves[] = {
        [&] { Go(Way::FileOpen, second); },
        [&] { Go(Way::New, {}); },
        [&] { h.app->MainFrame()->RouteCommand(ID_VIEW_REFRESH); },
        [&] {
            h.app->MainFrame()->close();
            h.End();
        },
    };
    for (const auto& leave : leaves) {
        ASSERT_TRUE(h.app->OpenDocumentFile(odd));
        EXPECT_EQ(h.ShownCaption(), "odd.ZNL - Kantoria");
        leave();
        EXPECT_EQ(ReadFile(odd), noise.toStdString());
    }
    EXPECT_TRUE(h.messages.shown.empty());
}

// The desktop activates the window and the panes take the focus, as after a start or a
// hand-over: the views then make a current item of their own, which is not the user's choice.
void Settle(MainWindow& frame) {
    frame.resize(900, 600);  // room for every row to be clicked
    frame.RestoreAndRaise();
    (void)QTest::qWaitForWindowActive(&frame);
    QCoreApplication::processEvents();
    for (CatalogueView* view : {frame.Views().tree, frame.Views().list}) {
        view->Widget()->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }
}

// Only the user's click moves what the file stores; whatever the views select by themselves
// leaves an untouched file as it is, on every way out.
TEST_F(LeavingTest, OnlyTheUsersClickRewritesAnUntouchedFile) {
    QFile program(QStringLiteral(KANTORIA_BINARY));
    ASSERT_TRUE(program.open(QIODevice::ReadOnly));
    QByteArray plain = QByteArray::fromStdString(ReadFile(first));
    plain.replace(0, plain.indexOf("\r\n"), "SELECTED=");  // no entry selected yet
    const std::pair<QString, QByteArray> files[] = {
        {QStringLiteral("binary.ZNL"), program.read(20000)},
        {QStringLiteral("plain.ZNL"), plain},
    };
    enum class Click { None, Entry, Holder };
    for (const auto& [name, bytes] : files) {
        const std::string path = h.folder.filePath(name).toStdString();
        for (const Way way : {Way::FileOpen, Way::Recent, Way::Drop, Way::HandOver, Way::New}) {
            for (const Click click : {Click::None, Click::Entry, Click::Holder}) {
                SCOPED_TRACE(testing::Message()
                             << name.toStdString() << " way " << static_cast<int>(way) << " click "
                             << static_cast<int>(click));
                WriteFile(path, bytes);
                ASSERT_TRUE(h.app->OpenDocumentFile(path));
                MainWindow& frame = *h.app->MainFrame();
                Settle(frame);
                auto* list = frame.findChild<EntryListView*>();
                auto* tree = frame.findChild<HolderTreeView*>();
                QAbstractItemView* clicked = click == Click::Entry ? list->currentView() : tree;
                const QModelIndex last =
                    clicked->model()->index(clicked->model()->rowCount() - 1, 0);
                if (click != Click::None && last.isValid()) {
                    clicked->scrollTo(last);
                    QTest::mouseClick(clicked->viewport(), Qt::LeftButton, {},
                                      clicked->visualRect(last).center());
                }
                Go(way, second);
                EXPECT_EQ(ReadFile(path) == bytes.toStdString(),
                          click == Click::None || !last.isValid());
                ASSERT_TRUE(h.app->OpenDocumentFile(first));
            }
        }
    }
    // The end of the program, after a start on the file.
    for (const auto& [name, bytes] : files) {
        const std::string path = h.folder.filePath(name).toStdString();
        WriteFile(path, bytes);
        h.app = std::make_unique<Application>(h.services, MakeFrameViews);
        h.StorePath(path);
        ASSERT_TRUE(h.app->InitInstance({}));
        Settle(*h.app->MainFrame());
        h.app->MainFrame()->close();
        h.End();
        EXPECT_EQ(ReadFile(path), bytes.toStdString()) << "at the end";
    }
}

// What the user clicked is kept with the catalogue, but is no change to mark or to ask about;
// a change to the entries is both.
TEST_F(LeavingTest, ViewStateIsWrittenUnmarkedAndEntriesAreMarked) {
    Doc().SetLastHolder("Docs");
    h.app->MainFrame()->UpdateCommandUI();
    EXPECT_EQ(h.ShownCaption(), "MORKA.ZNL - Kantoria");
    Go(Way::FileOpen, second);
    EXPECT_NE(ReadFile(first).find("LASTHOLDER=Docs"), std::string::npos);

    AddEntry();
    EXPECT_EQ(h.ShownCaption(), "second.ZNL* - Kantoria");
    EXPECT_EQ(h.app->WindowCaptions(), std::vector<std::string>{"second.ZNL - Kantoria"});
    h.app->MainFrame()->RouteCommand(ID_FILE_SAVE);
    EXPECT_EQ(h.ShownCaption(), "second.ZNL - Kantoria");

    // A "[*]" of the file's own name is shown as it is.
    const std::string marked = h.CataloguePath(QStringLiteral("a[*].ZNL"));
    ASSERT_TRUE(h.app->OpenDocumentFile(marked));
    EXPECT_EQ(h.ShownCaption(), "a[*].ZNL - Kantoria");
    AddEntry();
    EXPECT_EQ(h.ShownCaption(), "a[*].ZNL* - Kantoria");
}

// Entries of an untitled catalogue are never dropped without the question; an empty catalogue
// file being opened takes them over instead.
TEST_F(LeavingTest, UntitledEntriesAreAskedForOnEveryWayOut) {
    for (const Way way : kWays) {
        SCOPED_TRACE(static_cast<int>(way));
        ASSERT_TRUE(h.app->OpenDocumentFile(first));
        Go(Way::New, {});
        AddEntry();
        h.messages.shown.clear();
        h.messages.answers = {MbAnswer::Cancel};
        Go(way, second);
        ASSERT_EQ(h.messages.shown.size(), 1u);
        EXPECT_EQ(h.messages.shown[0].text, "無題 への変更を保存しますか?");
        EXPECT_EQ(h.messages.shown[0].buttons, MbButtons::YesNoCancel);
        EXPECT_EQ(Doc().Entries().size(), 1u);
        h.messages.answers = {MbAnswer::No};
        Go(way, second);
        EXPECT_EQ(h.ShownCaption(), Arrived(way));
    }
    const std::string empty = h.folder.filePath(QStringLiteral("empty.ZNL")).toStdString();
    WriteFile(empty, {});
    Go(Way::New, {});
    AddEntry();
    h.messages.shown.clear();
    Go(Way::FileOpen, empty);
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_NE(ReadFile(empty).find("kept.txt"), std::string::npos);
}

// A catalogue that cannot be written says which file and why, and lets the user go on without
// it; only the view state to write is dropped without a word.
TEST_F(LeavingTest, AFailedWriteOffersToGoOnWithoutIt) {
    MakeUnwritable();
    const std::string before = ReadFile(first);
    for (const Way way : kWays) {
        SCOPED_TRACE(static_cast<int>(way));
        if (way != kWays[0]) {
            ASSERT_TRUE(h.app->OpenDocumentFile(first));
        }
        AddEntry();
        h.messages.shown.clear();
        h.messages.answers = {MbAnswer::No, MbAnswer::Yes};
        Go(way, second);
        EXPECT_EQ(h.ShownCaption(), "MORKA.ZNL* - Kantoria");
        Go(way, second);
        EXPECT_EQ(h.ShownCaption(), Arrived(way));
        ASSERT_EQ(h.messages.shown.size(), 2u);
        EXPECT_EQ(h.messages.shown[0].text.rfind(first + " に保存できません。\n", 0), 0u);
        EXPECT_NE(h.messages.shown[0].text.find("\n\n保存せずに続けますか?"), std::string::npos);
        EXPECT_EQ(h.messages.shown[0].buttons, MbButtons::GoOnUnsaved);
    }
    ASSERT_TRUE(h.app->OpenDocumentFile(first));
    Doc().SetSelectedTitle("other");
    h.messages.shown.clear();
    Go(Way::FileOpen, second);
    h.app->MainFrame()->close();
    h.End();
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(ReadFile(first), before);
}

// The first write that would turn the catalogue into UTF-8 asks first, naming the text that
// needs it and the entries whose bytes become U+FFFD: キャンセル writes nothing and keeps the
// changes for the usual question on the way out; "UTF-8 で保存" writes the texts as shown.
TEST_F(LeavingTest, TheSwitchToUtf8IsAskedBeforeAnyWrite) {
    const QByteArray cp932 =
        "SELECTED=\r\nLASTHOLDER=\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\n"
        "C:\\\xEE\xE0.jpg\t\xEE\xE0\t\x85\x40\r\n";
    const std::string twin = h.folder.filePath(QStringLiteral("twin.ZNL")).toStdString();
    WriteFile(twin, cp932);
    for (const MbAnswer answer : {MbAnswer::Cancel, MbAnswer::SaveUtf8}) {
        ASSERT_TRUE(h.app->OpenDocumentFile(twin));
        Doc().Entries().Append("/x/café.txt", "café", "");
        Doc().UpdateAllViews(nullptr);
        h.messages.shown.clear();
        h.messages.answers = {answer};
        h.app->MainFrame()->RouteCommand(ID_FILE_SAVE);
        ASSERT_EQ(h.messages.shown.size(), 1u);
        EXPECT_EQ(h.messages.shown[0].buttons, MbButtons::SaveUtf8Cancel);
        EXPECT_EQ(h.messages.shown[0].text.rfind("/x/café.txt はコード ページ 932", 0), 0u);
        EXPECT_NE(h.messages.shown[0].text.find("\n1 件のエントリー"), std::string::npos);
        if (answer == MbAnswer::SaveUtf8) {
            EXPECT_EQ(h.ShownCaption(), "twin.ZNL - Kantoria");
            EXPECT_EQ(ReadFile(twin).rfind("\xEF\xBB\xBFSELECTED=", 0), 0u);
            EXPECT_NE(ReadFile(twin).find("C:\\髙.jpg\t髙\t\uFFFD\uFFFD\r\n"), std::string::npos);
            break;
        }
        EXPECT_EQ(ReadFile(twin), cp932.toStdString());
        EXPECT_EQ(h.ShownCaption(), "twin.ZNL* - Kantoria");
        h.messages.shown.clear();
        h.messages.answers = {MbAnswer::Cancel, MbAnswer::No, MbAnswer::Cancel, MbAnswer::Yes};
        Go(Way::FileOpen, second);
        EXPECT_EQ(h.ShownCaption(), "twin.ZNL* - Kantoria");
        Go(Way::FileOpen, second);
        EXPECT_EQ(h.ShownCaption(), "second.ZNL - Kantoria");
        ASSERT_EQ(h.messages.shown.size(), 4u);
        EXPECT_NE(h.messages.shown[1].text.find(
                      "UTF-8 での保存を取りやめました。\n\n保存せずに続けますか?"),
                  std::string::npos);
        EXPECT_EQ(ReadFile(twin), cp932.toStdString());
    }
}

// After a failed write, Enter keeps the user with the unsaved changes, and Save As keeps them
// in another file and goes on, whether another catalogue is opened or the program ends.
TEST_F(LeavingTest, AFailedWriteDefaultsToStayingAndOffersSaveAs) {
    MakeUnwritable();
    const std::string before = ReadFile(first);
    QTemporaryDir elsewhere;
    const std::optional<MbAnswer> answers[] = {kEnter, MbAnswer::SaveAs};
    for (const bool ending : {false, true}) {
        for (const std::optional<MbAnswer>& answer : answers) {
            SCOPED_TRACE(testing::Message() << ending << " " << answer.has_value());
            if (h.app->Document() == nullptr || h.app->Document()->PathName() != first) {
                ASSERT_TRUE(h.app->OpenDocumentFile(first));
            }
            const std::string target =
                elsewhere.filePath(QStringLiteral("kept%1.ZNL").arg(ending)).toStdString();
            AddEntry();
            h.messages.shown.clear();
            h.messages.answers = {answer};
            h.files.answers = {target};
            if (ending) {
                EXPECT_EQ(h.app->MainFrame()->close(), answer.has_value());
            } else {
                h.files.answers.push_front(second);
                h.app->MainFrame()->RouteCommand(ID_FILE_OPEN);
            }
            ASSERT_EQ(h.messages.shown.size(), 1u);
            EXPECT_EQ(h.messages.shown[0].buttons, MbButtons::GoOnUnsaved);
            EXPECT_EQ(ReadFile(first), before);
            if (!answer) {
                EXPECT_EQ(h.ShownCaption(), "MORKA.ZNL* - Kantoria");
                EXPECT_TRUE(Doc().IsModified());
                Doc().MarkUnchanged();
                continue;
            }
            EXPECT_NE(ReadFile(target).find("kept.txt"), std::string::npos);
            if (ending) {
                h.End();
                EXPECT_EQ(h.Stored(IDS_VALUE_ZNLPATH), target);
            } else {
                EXPECT_EQ(h.ShownCaption(), "second.ZNL - Kantoria");
            }
        }
    }
}

// Another program's save after the window read the catalogue: the window replaces that work
// only when the user says so, and otherwise reads it, keeps away from it or saves elsewhere.
TEST_F(LeavingTest, AnotherProgramsWriteStaysUnlessTheUserOverwritesIt) {
    enum class Act { Save, Refresh, Open, End };
    const QByteArray theirs = "/their/file.txt\ttheirs\t\r\n";
    const std::string mine = h.folder.filePath(QStringLiteral("mine.ZNL")).toStdString();
    const auto theyWrite = [&] {
        WriteFile(first + ".new", theirs);
        ASSERT_EQ(std::rename((first + ".new").c_str(), first.c_str()), 0);
    };
    const auto act = [&](Act what) {
        MainWindow* frame = h.app->MainFrame();
        if (what == Act::Save) frame->RouteCommand(ID_FILE_SAVE);
        if (what == Act::Refresh) frame->RouteCommand(ID_VIEW_REFRESH);
        if (what == Act::Open) Go(Way::FileOpen, second);
        if (what == Act::End && frame->close()) h.End();
    };
    const auto reopenFirst = [&] {
        if (h.app->Document() != nullptr) {
            Doc().MarkUnchanged();
            ASSERT_TRUE(h.app->OpenDocumentFile(second));
        }
        ASSERT_TRUE(h.app->OpenDocumentFile(first));
    };
    for (const Act what : {Act::Save, Act::Refresh, Act::Open, Act::End}) {
        const bool leaving = what == Act::Open || what == Act::End;
        for (const MbAnswer answer :
             {MbAnswer::Cancel, leaving ? MbAnswer::Discard : MbAnswer::Reload, MbAnswer::Overwrite,
              MbAnswer::SaveAs}) {
            SCOPED_TRACE(testing::Message()
                         << static_cast<int>(what) << "/" << static_cast<int>(answer));
            reopenFirst();
            AddEntry();
            theyWrite();
            h.messages.shown.clear();
            h.messages.answers = {answer};
            h.files.answers = {mine};
            act(what);
            ASSERT_EQ(h.messages.shown.size(), 1u);
            EXPECT_EQ(h.messages.shown[0].text.rfind(first + " は、開いた後でほかのプログラム", 0),
                      0u);
            EXPECT_EQ(h.messages.shown[0].buttons,
                      leaving ? MbButtons::LeavingChangedFile : MbButtons::ChangedFile);
            EXPECT_EQ(ReadFile(first).find("kept.txt") != std::string::npos,
                      answer == MbAnswer::Overwrite);
            if (answer != MbAnswer::Overwrite) {
                EXPECT_EQ(ReadFile(first), theirs.toStdString());
            }
            if (answer == MbAnswer::SaveAs) {
                EXPECT_NE(ReadFile(mine).find("kept.txt"), std::string::npos);
            }
            if (answer == MbAnswer::Cancel) {
                EXPECT_TRUE(Doc().IsModified());
            }
            if (answer == MbAnswer::Reload) {
                ASSERT_EQ(Doc().Entries().size(), 1u);
                EXPECT_FALSE(Doc().IsModified());
            }
        }
    }
    // Only the view state to write: dropped without a word.
    for (const Act what : {Act::Refresh, Act::Open, Act::End}) {
        reopenFirst();
        Doc().SetSelectedTitle("other");
        theyWrite();
        h.messages.shown.clear();
        act(what);
        EXPECT_TRUE(h.messages.shown.empty());
        EXPECT_EQ(ReadFile(first), theirs.toStdString());
    }
    // Another program in the middle of its own read and write: the window says so and waits
    // no longer than a moment.
    reopenFirst();
    AddEntry();
    Status locking = Status::Ok();
    const std::unique_ptr<FileLock> held = FileLock::Acquire(first, locking);
    ASSERT_TRUE(held);
    h.messages.shown.clear();
    h.app->MainFrame()->RouteCommand(ID_FILE_SAVE);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_NE(h.messages.shown[0].text.find("ほかのプログラムがこのファイルに書き込んでいます"),
              std::string::npos);
    EXPECT_EQ(ReadFile(first), theirs.toStdString());
}

// A lock that cannot be taken (here a folder stands at its name) is no licence to write: the
// save says why and keeps the changes, and Save As still saves them elsewhere.
TEST_F(LeavingTest, ALockThatCannotBeTakenStopsTheSaveButNotSaveAs) {
    const std::string before = ReadFile(first);
    AddEntry();
    const QFileInfo catalogue(QString::fromStdString(first));
    ASSERT_TRUE(catalogue.dir().mkdir("." + catalogue.fileName() + ".lock"));
    h.messages.shown.clear();
    h.app->MainFrame()->RouteCommand(ID_FILE_SAVE);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text.rfind(first + " に保存できません。\n", 0), 0u);
    EXPECT_NE(h.messages.shown[0].text.find(".lock"), std::string::npos);
    EXPECT_EQ(ReadFile(first), before);
    EXPECT_TRUE(Doc().IsModified());
    const std::string mine = h.folder.filePath(QStringLiteral("mine.ZNL")).toStdString();
    h.files.answers = {mine};
    h.app->MainFrame()->RouteCommand(ID_FILE_SAVE_AS);
    EXPECT_NE(ReadFile(mine).find("kept.txt"), std::string::npos);
}

}  // namespace
}  // namespace kantoria
