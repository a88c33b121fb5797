// The main frame on the offscreen platform: its menus, keys, bars, routing, remembered
// rectangle, about box, help and dropped files.
#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "core/resources/accelerator_table.h"
#include "core/resources/command_ids.h"
#include "core/resources/menu_resources.h"
#include "core/views/holder_tree_logic.h"
#include "tests/app/app_fakes.h"
#include "ui/frame/content_find.h"
#include "ui/views/entry_list_view.h"
#include "ui/views/holder_tree_model.h"
#include "ui/views/holder_tree_view.h"

namespace kantoria {
namespace {

using test::AppHarness;

// The menu bar as "popup/item=id" lines, "popup/-" for a separator.
std::vector<std::string> MenuLines(QMenuBar& bar) {
    std::vector<std::string> lines;
    for (QAction* top : bar.actions()) {
        const std::string popup = top->text().toStdString();
        for (QAction* item : top->menu()->actions()) {
            if (!item->isVisible()) continue;
            if (item->isSeparator()) {
                lines.push_back(popup + "/-");
            } else {
                lines.push_back(popup + "/" + item->text().toStdString() + "=" +
                                std::to_string(item->data().toInt()));
            }
        }
    }
    return lines;
}

const std::vector<std::string> kMenuBar = {
    "ﾌｧｲﾙ(&F)/新規作成(&N)=57600",
    "ﾌｧｲﾙ(&F)/開く(&O)...\tCtrl+O=57601",
    "ﾌｧｲﾙ(&F)/-",
    "ﾌｧｲﾙ(&F)/上書き保存(&S)\tCtrl+S=57603",
    "ﾌｧｲﾙ(&F)/名前を付けて保存(&A)...=57604",
    "ﾌｧｲﾙ(&F)/-",
    "ﾌｧｲﾙ(&F)/エクスポート(&E)...=32830",
    "ﾌｧｲﾙ(&F)/インポート(&I)...=32831",
    "ﾌｧｲﾙ(&F)/-",
    "ﾌｧｲﾙ(&F)/削除(&D)\tCtrl+D=32783",
    "ﾌｧｲﾙ(&F)/-",
    "ﾌｧｲﾙ(&F)/ﾌﾟﾛﾊﾟﾃｨ(&P)=32797",
    "ﾌｧｲﾙ(&F)/-",
    "ﾌｧｲﾙ(&F)/最新のファイル=57616",
    "ﾌｧｲﾙ(&F)/-",
    "ﾌｧｲﾙ(&F)/ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)=57665",
    "編集(&E)/元に戻す(&U)\tCtrl+Z=57643",
    "編集(&E)/やり直し(&R)\tCtrl+Y=57644",
    "編集(&E)/-",
    "編集(&E)/切り取り(&T)\tCtrl+X=57635",
    "編集(&E)/ｺﾋﾟｰ(&C)\tCtrl+INS=57634",
    "編集(&E)/貼り付け(&E)\tShift+INS=57637",
    "編集(&E)/-",
    "編集(&E)/すべて選択=32840",
    "表示(&V)/ﾂｰﾙ ﾊﾞｰ(&T)=59392",
    "表示(&V)/ｽﾃｰﾀｽ ﾊﾞｰ(&S)=59393",
    "表示(&V)/-",
    "表示(&V)/並べて表示(&S)=59409",
    "表示(&V)/アイコン(&N)=59408",
    "表示(&V)/一覧(&L)=59410",
    "表示(&V)/詳細(&D)=59411",
    "表示(&V)/-",
    "表示(&V)/フォルダー階層(&F)=32870",
    "表示(&V)/プレビュー(&P)=32880",
    "表示(&V)/最新の状態に更新(&R)=32785",
    "行操作(&G)/追加(&A)=32782",
    "行操作(&G)/更新(&E)=32781",
    "行操作(&G)/-",
    "行操作(&G)/絞り込み(&F)\tCtrl+F=32800",
    "行操作(&G)/本文も検索(&B)=32850",
    "行操作(&G)/見つからないファイル=32810",
    "行操作(&G)/本文を読めないファイル=32811",
    "行操作(&G)/ホルダーの移動先...=32820",
    "ﾂｰﾙ(&T)/検索(&S)=32795",
    "ﾂｰﾙ(&T)/本文の索引を作り直す=32860",
    "ﾍﾙﾌﾟ(&H)/ﾍﾙﾌﾟ(&H)=57670",
    "ﾍﾙﾌﾟ(&H)/-",
    "ﾍﾙﾌﾟ(&H)/ﾊﾞｰｼﾞｮﾝ情報(&A)=57664",
};

class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.app->NewDocument());
        frame = h.app->MainFrame();
        frame->ShowAtSavedPlace();
    }
    void Activate() {
        QApplication::setActiveWindow(frame);
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    }

    AppHarness h;
    MainWindow* frame = nullptr;
};

TEST_F(FrameTest, MenuBarIsTheTableInOrder) {
    EXPECT_EQ(MenuLines(*frame->menuBar()), kMenuBar);
}

TEST_F(FrameTest, PromptsAndTooltipsOnlyForTheFrameworkCommands) {
    for (QAction* top : frame->menuBar()->actions()) {
        for (QAction* item : top->menu()->actions()) {
            const int id = item->data().toInt();
            if (item->isSeparator() || id == ID_FILE_MRU_FILE1) continue;
            EXPECT_EQ(item->statusTip().toStdString(), CommandPrompt(id)) << id;
            if (id < kFirstFrameworkCommand) {
                EXPECT_TRUE(item->statusTip().isEmpty()) << id;
            }
        }
    }
    EXPECT_EQ(frame->MenuAction(ID_FILE_NEW)->toolTip(), QStringLiteral("新規ファイル"));
    EXPECT_EQ(frame->IdleMessage(),
              QStringLiteral("ヘルプを表示するには F1 キーを押してください。"));
    frame->MenuAction(ID_FILE_OPEN)->showStatusText(frame);
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("既存のファイルを開く"));
}

TEST_F(FrameTest, ToolbarHasTheTenButtonsWithSeparatorsDockedAtTheTop) {
    std::vector<int> ids;
    QToolBar* bar = frame->ToolBar();
    // The find field, then the button that makes it read documents, end the bar.
    const QList<QAction*> actions = bar->actions();
    ASSERT_GE(actions.size(), 2);
    ASSERT_EQ(bar->widgetForAction(actions[actions.size() - 2]), frame->FindField());
    ASSERT_EQ(actions.back(), frame->ContentSearch()->Toggle());
    for (QAction* action : bar->actions()) {
        if (bar->widgetForAction(action) == frame->FindField()) break;
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
        if (action->isSeparator()) continue;
        EXPECT_FALSE(action->icon().isNull()) << ids.back();
        EXPECT_EQ(action->toolTip().toStdString(), CommandTooltip(ids.back()));
    }
    const auto buttons = MainToolbarButtons();
    std::vector<int> expected(buttons.begin(), buttons.end());
    expected.push_back(0);  // and a separator before the find field
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(frame->toolBarArea(frame->ToolBar()), Qt::TopToolBarArea);
    EXPECT_EQ(frame->ToolBar()->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_TRUE(frame->ToolBar()->isMovable());
}

// What a screen reader says of each part of the window.
TEST_F(FrameTest, ScreenReadersHearEveryPartByName) {
    const auto button = [this](int id) {
        return frame->ToolBar()->widgetForAction(frame->MenuAction(id));
    };
    std::vector<QLabel*> panes;
    for (QLabel* label : frame->statusBar()->findChildren<QLabel*>())
        if (label->frameShape() == QFrame::Panel) panes.push_back(label);
    ASSERT_EQ(panes.size(), 3u);
    const auto* list = static_cast<EntryListView*>(frame->Views().list->Widget());
    const struct {
        QWidget* widget;
        const char* name;
        const char* description;  // when it says more than its name
    } cases[] = {
        {frame->Views().tree->Widget(), "ホルダーのツリー", nullptr},
        {list->iconView(), "エントリーの一覧", nullptr},
        {list->reportView(), "エントリーの一覧", nullptr},
        {frame->FindField(), "絞り込み", nullptr},
        {frame->FindField()->findChild<QToolButton*>(), "絞り込みを消去", nullptr},
        {frame->statusBar(), "ステータス バー", nullptr},
        {panes[0], "Caps Lock", "オフ"},
        {panes[1], "Num Lock", "オフ"},
        {panes[2], "Scroll Lock", "オフ"},
        {button(ID_FILE_NEW), "新規作成", "新規ファイル"},
        {button(ID_FILE_OPEN), "開く", "開く"},
        {button(ID_FILE_SAVE), "上書き保存", "保存"},
        {button(ID_EDIT_COPY), "ｺﾋﾟｰ", "コピー"},
        {button(ID_VIEW_LARGEICON), "並べて表示", "大きいアイコン"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.widget, nullptr);
        QAccessibleInterface* said = QAccessible::queryAccessibleInterface(c.widget);
        ASSERT_NE(said, nullptr);
        EXPECT_EQ(said->text(QAccessible::Name).toStdString(), c.name);
        if (c.description != nullptr) {
            EXPECT_EQ(said->text(QAccessible::Description).toStdString(), c.description);
        }
    }
}

TEST_F(FrameTest, BarsToggleFromTheViewMenuWithTheirCheckMarks) {
    for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        EXPECT_EQ(frame->StateOf(id).checked, true);
        frame->RouteCommand(id);
        EXPECT_EQ(frame->StateOf(id).checked, false);
        frame->RouteCommand(id);
        EXPECT_EQ(frame->StateOf(id).checked, true);
    }
    EXPECT_TRUE(frame->ToolBar()->isVisible());
    EXPECT_TRUE(frame->statusBar()->isVisible());
}

TEST_F(FrameTest, TreeOnTheLeftAtItsWidthAndTheListActive) {
    QTest::qWait(10);
    EXPECT_EQ(frame->Splitter()->sizes().at(0), kTreePaneWidth);
    EXPECT_EQ(frame->Splitter()->widget(0), frame->Views().tree->Widget());
    EXPECT_EQ(frame->ActiveView(), frame->Views().list);
}

TEST_F(FrameTest, ListCommandsAreDisabledWhileTheTreeIsActive) {
    Activate();
    // The commands the entry list takes without a selected entry.
    const std::vector<int> listCommands = {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST,
                                           ID_VIEW_DETAILS, ID_ENTRY_ADD};
    const std::vector<int> alwaysOn = {ID_FILE_NEW,  ID_FILE_OPEN,    ID_FILE_SAVE,
                                       ID_APP_ABOUT, ID_VIEW_TOOLBAR, ID_VIEW_REFRESH};
    auto enabled = [&](int id) {
        QAction* action = frame->MenuAction(id);
        QWidget* button = frame->ToolBar()->widgetForAction(action);
        if (button != nullptr) {
            EXPECT_EQ(button->isEnabled(), action->isEnabled()) << id;
        }
        return action->isEnabled();
    };
    for (int id : listCommands) EXPECT_TRUE(enabled(id)) << id;

    QTest::mouseClick(static_cast<QAbstractScrollArea*>(frame->Views().tree->Widget())->viewport(),
                      Qt::LeftButton);
    EXPECT_EQ(frame->ActiveView(), frame->Views().tree);
    for (int id : listCommands) EXPECT_FALSE(enabled(id)) << id;
    for (int id : alwaysOn) EXPECT_TRUE(enabled(id)) << id;

    auto* list = static_cast<EntryListView*>(frame->Views().list->Widget());
    QTest::mouseClick(list->currentView()->viewport(), Qt::LeftButton);
    EXPECT_EQ(frame->ActiveView(), frame->Views().list);
    for (int id : listCommands) EXPECT_TRUE(enabled(id)) << id;
    EXPECT_TRUE(enabled(ID_TOOLS_SEARCH));
}

TEST_F(FrameTest, EntryCommandsFollowTheSelectionAndTravelTheRoute) {
    Activate();
    Catalogue& doc = h.app->Document()->Doc();
    doc.Entries().Append("/nowhere/a.txt", "a", "");
    doc.RebuildHolders();
    doc.SetLastHolder(HolderLabel("/nowhere/"));
    doc.SetSelectedTitle("a");
    doc.UpdateAllViews(nullptr);
    auto* list = static_cast<EntryListView*>(frame->Views().list->Widget());
    ASSERT_EQ(list->entryModel()->rowCount(), 1);
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_ENTRY_DELETE, ID_ENTRY_PROPERTIES})
        EXPECT_TRUE(frame->StateOf(id).enabled) << id;
    EXPECT_FALSE(frame->StateOf(ID_EDIT_PASTE).enabled);
    EXPECT_FALSE(frame->ToolBar()->widgetForAction(frame->MenuAction(ID_EDIT_PASTE))->isEnabled());

    // The popup menu's copy goes through the frame, which then enables paste on the toolbar.
    for (QAction* action : list->popupMenu()->actions())
        if (action->data().toInt() == ID_EDIT_COPY) action->trigger();
    EXPECT_EQ(doc.ClipTitle(), "a");
    EXPECT_TRUE(frame->ToolBar()->widgetForAction(frame->MenuAction(ID_EDIT_PASTE))->isEnabled());

    // Opening a missing file: the message, and nothing handed to the desktop.
    frame->RouteCommand(ID_ENTRY_OPEN);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
    EXPECT_TRUE(h.shell.openedFiles.empty());
}

// The menu bar's relocate acts on the shown holder whichever pane is active.
TEST_F(FrameTest, RelocateFromTheMenuBarMovesTheShownHolder) {
    Catalogue& doc = h.app->Document()->Doc();
    doc.Entries().Append("/nowhere/a.txt", "a", "");
    doc.RebuildHolders();
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(frame->ActiveView(), frame->Views().list);
    EXPECT_FALSE(frame->StateOf(ID_HOLDER_RELOCATE).enabled);
    doc.SetLastHolder(HolderLabel("/nowhere/"));
    doc.UpdateAllViews(nullptr);
    ASSERT_TRUE(frame->StateOf(ID_HOLDER_RELOCATE).enabled);
    h.files.answers = {"/elsewhere"};
    frame->RouteCommand(ID_HOLDER_RELOCATE);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(doc.Entries().begin()->Path(), "/elsewhere/a.txt");
    EXPECT_EQ(doc.LastHolder(), "elsewhere");
}

// 表示's folder command hangs the top-level holders under grey folder nodes and remembers it; a
// folder node chooses no holder, and relocating it moves everything below it.
TEST_F(FrameTest, FolderNodesJoinTheTopLevelHolders) {
    Catalogue& doc = h.app->Document()->Doc();
    for (const char* path : {"/usr/share/doc/a/1.txt", "/usr/share/doc/b/2.txt", "/usr/lib/x/3"})
        doc.Entries().Append(path, path, "");
    doc.RebuildHolders();
    doc.UpdateAllViews(nullptr);
    auto* tree = static_cast<HolderTreeView*>(frame->Views().tree->Widget());
    const HolderTreeModel* model = tree->holderModel();
    EXPECT_EQ(model->rowCount(), 3);
    frame->RouteCommand(ID_VIEW_FOLDERS);
    EXPECT_EQ(frame->StateOf(ID_VIEW_FOLDERS).checked, std::optional<bool>(true));
    EXPECT_EQ(h.settings.GetProfileInt("SETTINGS", "FOLDERTREE", 0), 1);
    ASSERT_EQ(model->rowCount(), 1);
    const QModelIndex usr = model->index(0, 0);
    EXPECT_EQ(usr.data().toString(), QStringLiteral("/usr"));
    EXPECT_EQ(model->NodeOf(usr), kNoHolderNode);
    EXPECT_TRUE(usr.data(Qt::ForegroundRole).isValid());
    const QModelIndex doc2 = model->index(0, 0, usr);
    EXPECT_EQ(doc2.data().toString(), QStringLiteral("share/doc"));
    EXPECT_EQ(model->rowCount(doc2), 2);

    tree->expand(usr);
    const std::string shown = doc.LastHolder();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(doc2).center());
    EXPECT_EQ(doc.LastHolder(), shown);
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, tree->visualRect(usr).center());
    tree->popupMenu()->close();
    h.files.answers = {"/opt"};
    for (QAction* action : tree->popupMenu()->actions())
        if (action->data().toInt() == ID_HOLDER_RELOCATE) action->trigger();
    for (const Entry& e : doc.Entries()) EXPECT_EQ(e.Path().rfind("/opt/", 0), 0u);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("/opt"));
    frame->RouteCommand(ID_VIEW_FOLDERS);
    EXPECT_EQ(model->rowCount(), 3);
}

// Export writes the spreadsheet file the user names and says how many entries held bytes it
// could not write as text; import appends the rows as entries, shows them and lists the rows
// it left out.
TEST_F(FrameTest, ExportAndImportGoThroughTheFileDialogs) {
    Catalogue& doc = h.app->Document()->Doc();
    std::string bad = "bad";
    AppendEscape(bad, 0x81);
    doc.Entries().Append("/nowhere/a.txt", "a", "two\nlines");
    doc.Entries().Append("/nowhere/b.txt", bad, "");
    doc.RebuildHolders();
    doc.UpdateAllViews(nullptr);
    const std::string exported = h.folder.filePath(QStringLiteral("out.csv")).toStdString();
    h.files.answers = {exported};
    frame->RouteCommand(ID_FILE_EXPORT);
    ASSERT_EQ(h.files.exportProposals.size(), 1u);
    EXPECT_EQ(h.files.exportProposals[0], std::string(LoadString(IDS_UNTITLED)) + ".csv");
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, FormatString(IDS_EXPORT_UNDECODABLE, {"1"}));
    QFile file(QString::fromStdString(exported));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("\xEF\xBB\xBF"));

    const std::string rows = h.folder.filePath(QStringLiteral("in.csv")).toStdString();
    QFile in(QString::fromStdString(rows));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write(
        "path,title,comment\r\n/else/c.txt,a,\"new\r\nrow\"\r\n,x,\r\n/nowhere/a.txt,y,\r\n"
        "/else/d.txt,\"open\r\n/else/e.txt,e,\r\n");
    in.close();
    doc.MarkUnchanged();
    h.files.answers = {rows};
    frame->RouteCommand(ID_FILE_IMPORT);
    ASSERT_EQ(doc.Entries().size(), 3u);
    EXPECT_EQ(std::prev(doc.Entries().end())->Title(), "a1");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Holders().size(), 2u);
    ASSERT_EQ(h.messages.shown.size(), 2u);
    const std::string& report = h.messages.shown[1].text;
    EXPECT_EQ(report.rfind(FormatString(IDS_IMPORT_SKIPPED, {"3"}), 0), 0u) << report;
    EXPECT_NE(report.find(FormatString(IDS_IMPORT_UNCLOSED_QUOTE, {"5"})), std::string::npos)
        << report;
    EXPECT_NE(report.find(FormatString(IDS_IMPORT_SKIPPED_ROW,
                                       {"4", "/nowhere/a.txt", LoadString(IDS_IMPORT_REGISTERED)})),
              std::string::npos)
        << report;

    // A file without the three columns adds nothing and says so.
    ASSERT_TRUE(in.open(QIODevice::WriteOnly | QIODevice::Truncate));
    in.write("name\r\nx\r\n");
    in.close();
    h.files.answers = {rows};
    frame->RouteCommand(ID_FILE_IMPORT);
    EXPECT_EQ(doc.Entries().size(), 3u);
    ASSERT_EQ(h.messages.shown.size(), 3u);
    EXPECT_EQ(h.messages.shown[2].text, FormatString(IDS_IMPORT_NO_HEADER, {rows}));
}

TEST_F(FrameTest, ViewModesShowTheCurrentOneChecked) {
    frame->RouteCommand(ID_VIEW_LIST);
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->MenuAction(ID_VIEW_LIST)->isChecked());
    EXPECT_FALSE(frame->MenuAction(ID_VIEW_DETAILS)->isChecked());
}

TEST_F(FrameTest, AboutBoxShowsTheProgramsTexts) {
    QStringList texts;
    bool hasIcon = false;
    h.dialogs.inspect = [&](QDialog& dialog) {
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) texts << label->text();
            if (!label->pixmap().isNull()) hasIcon = true;
        }
    };
    frame->RouteCommand(ID_APP_ABOUT);
    ASSERT_EQ(h.dialogs.captions.size(), 1u);
    EXPECT_EQ(h.dialogs.captions[0], QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報\u3000Kantoria"));
    EXPECT_TRUE(texts.contains(QStringLiteral("Kantoria  Version 3.00")));
    EXPECT_EQ(texts.size(), 3);
    EXPECT_TRUE(hasIcon);
}

TEST_F(FrameTest, HelpOpensTheHelpPagesOrSaysWhyNot) {
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    frame->RouteCommand(ID_HELP);
    ASSERT_EQ(h.shell.openedUrls.size(), 1u);
    const QUrl url(QString::fromStdString(h.shell.openedUrls[0]));
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_TRUE(url.toLocalFile().endsWith(QStringLiteral("/help/index.html")));
    EXPECT_TRUE(QFileInfo::exists(url.toLocalFile()));
    EXPECT_TRUE(h.messages.shown.empty());

    h.shell.failing.insert(h.shell.openedUrls[0]);
    frame->RouteCommand(ID_HELP_FINDER);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text.rfind("ヘルプを開けません。", 0), 0u);
    EXPECT_EQ(h.messages.shown[0].icon, MbIcon::Exclamation);
    qunsetenv("XDG_CACHE_HOME");
}

// Every command of the menus is explained in the help, under the name its menu gives it.
TEST_F(FrameTest, HelpNamesEveryCommandOfTheMenus) {
    QFile page(QStringLiteral(":/kantoria/help/index.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const std::string help = page.readAll().toStdString();
    std::vector<const MenuItem*> items;
    for (int menu : {IDR_MAINFRAME_MENU, IDR_ENTRY_CONTEXT_MENU, IDR_HOLDER_CONTEXT_MENU})
        for (const MenuItem& popup : LoadMenu(menu)) items.push_back(&popup);
    for (std::size_t i = 0; i < items.size(); ++i) {
        for (const MenuItem& item : items[i]->items) items.push_back(&item);
        const std::string name = PlainMenuText(items[i]->text);
        if (!name.empty()) {
            EXPECT_NE(help.find(name), std::string::npos) << name;
        }
    }
}

// The search command runs the search dialog; entries found show once the dialog ends with OK,
// and a dialog closed otherwise leaves the catalogue as it was.
TEST_F(FrameTest, SearchAddsWhatTheDialogFoundAndShowsIt) {
    QTemporaryDir folder;
    for (const char* name : {"a.txt", "b.txt"})
        QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
    auto search = [&](bool pressOk) {
        h.dialogs.inspect = [&, pressOk](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("folder"))->setText(folder.path());
            if (pressOk) dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
        };
        frame->RouteCommand(ID_TOOLS_SEARCH);
    };
    search(false);
    EXPECT_EQ(h.dialogs.captions.back(), QStringLiteral("追加検索"));
    EXPECT_TRUE(h.app->Document()->Doc().Entries().empty());

    search(true);  // the question "追加しますか?" is answered OK by the scripted boxes
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, "検索結果： 2 件見つかりました。追加しますか?");
    const Catalogue& doc = h.app->Document()->Doc();
    EXPECT_EQ(doc.Entries().size(), 2u);
    ASSERT_EQ(doc.Holders().size(), 1u);
    auto* tree = static_cast<HolderTreeView*>(frame->Views().tree->Widget());
    EXPECT_EQ(tree->holderModel()->rowCount(), 1);  // the views were refreshed
}

// The save that has to leave code page 932 for a path asks once, naming the path.
TEST_F(FrameTest, SaveThatLeavesCp932NamesThePathOnce) {
    const std::string path = h.CataloguePath(QStringLiteral("u.ZNL"));
    ASSERT_TRUE(h.app->OpenDocumentFile(path));
    h.app->Document()->Doc().Entries().Append("/home/u/café.txt", "café", "");
    h.messages.answers = {MbAnswer::SaveUtf8};
    frame->RouteCommand(ID_FILE_SAVE);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text.rfind("/home/u/café.txt はコード ページ 932 で表せない文字を"
                                             "含むため、カタログを UTF-8 で保存します。",
                                             0),
              0u);
    EXPECT_EQ(h.messages.shown[0].icon, MbIcon::Question);
    frame->RouteCommand(ID_FILE_SAVE);
    EXPECT_EQ(h.messages.shown.size(), 1u);
}

TEST_F(FrameTest, DroppedCatalogueIsOpened) {
    const std::string path = h.CataloguePath(QStringLiteral("dropped.ZNL"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    const QPoint at = frame->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(h.ShownCaption(), "dropped.ZNL - Kantoria");
    EXPECT_EQ(h.app->Document()->PathName(), path);
}

// A view that takes every command but the ones it is told to refuse, and records what runs.
class RecordingView final : public QListWidget, public CatalogueView {
  public:
    explicit RecordingView(QWidget* parent) : QListWidget(parent) {}
    std::vector<int> ran;
    QWidget* Widget() override { return this; }
    void OnUpdate(CatalogueObserver*) override {}
    bool QueryCommand(int id, CommandState&) override {
        return id != ID_FILE_PRINT && id != ID_EDIT_UNDO && id != ID_NEXT_PANE &&
               id != ID_PREV_PANE;
    }
    void RunCommand(int id) override { ran.push_back(id); }
};

struct KeyCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int command;  // 0: the key runs nothing
};

TEST(AcceleratorTest, EachKeyRunsItsCommand) {
    RecordingView* list = nullptr;
    AppHarness h([&](QSplitter& splitter, const ViewContext&) {
        auto* tree = new RecordingView(&splitter);
        list = new RecordingView(&splitter);
        return FrameViews{tree, list};
    });
    ASSERT_TRUE(h.app->NewDocument());
    MainWindow* frame = h.app->MainFrame();
    frame->ShowAtSavedPlace();
    QApplication::setActiveWindow(frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    list->setFocus();

    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const std::vector<KeyCase> cases = {
        {Qt::Key_A, ctrl, ID_ENTRY_ADD},
        {Qt::Key_C, ctrl, ID_EDIT_COPY},
        {Qt::Key_Insert, ctrl, ID_EDIT_COPY},
        {Qt::Key_E, ctrl, ID_ENTRY_EXPLORER},
        {Qt::Key_N, ctrl, ID_FILE_NEW},
        {Qt::Key_O, ctrl, ID_FILE_OPEN},
        {Qt::Key_P, ctrl, 0},
        {Qt::Key_R, ctrl, ID_ENTRY_OPEN},
        {Qt::Key_S, ctrl, ID_FILE_SAVE},
        {Qt::Key_U, ctrl, ID_ENTRY_UPDATE},
        {Qt::Key_V, ctrl, ID_EDIT_PASTE},
        {Qt::Key_Insert, shift, ID_EDIT_PASTE},
        {Qt::Key_X, ctrl, ID_EDIT_CUT},
        {Qt::Key_Delete, shift, ID_EDIT_CUT},
        {Qt::Key_Z, ctrl, 0},
        {Qt::Key_Backspace, Qt::AltModifier, 0},
        {Qt::Key_D, ctrl, 0},
    };
    for (const KeyCase& c : cases) {
        list->ran.clear();
        QTest::keyClick(list, c.key, c.modifiers);
        const std::vector<int> expected =
            c.command == 0 ? std::vector<int>{} : std::vector<int>{c.command};
        EXPECT_EQ(list->ran, expected)
            << QKeySequence(c.key | c.modifiers).toString().toStdString();
    }

    QTest::keyClick(list, Qt::Key_F6);
    EXPECT_EQ(frame->ActiveView(), frame->Views().tree);
    QTest::keyClick(frame->Views().tree->Widget(), Qt::Key_F6, shift);
    EXPECT_EQ(frame->ActiveView(), frame->Views().list);
}

// The remembered rectangle across two runs of the frame.
class WindowPlaceTest : public ::testing::Test {
  protected:
    MainWindow* Start() {
        EXPECT_TRUE(h.app->NewDocument());
        h.app->MainFrame()->ShowAtSavedPlace();
        return h.app->MainFrame();
    }
    void Store(WinRect rect) { WriteWindowRect(h.settings, rect); }

    AppHarness h;
};

TEST_F(WindowPlaceTest, FirstStartWritesTheFourValuesOnClosing) {
    Start();
    EXPECT_FALSE(h.settings.Has("STATUS", "WINPOSX"));
    h.End();
    const WinRect stored = ReadWindowRect(h.settings);
    EXPECT_GT(stored.Width(), 0);
    EXPECT_GT(stored.Height(), 0);
}

TEST_F(WindowPlaceTest, ZeroOriginWithASizeIsUsed) {
    Store({0, 0, 800, 600});
    MainWindow* frame = Start();
    EXPECT_EQ(frame->frameGeometry(), QRect(0, 0, 800, 600));
    h.End();
    EXPECT_EQ(ReadWindowRect(h.settings), (WinRect{0, 0, 800, 600}));
}

TEST_F(WindowPlaceTest, MaximisedCloseStoresTheMaximisedRectangle) {
    Store({40, 30, 440, 330});
    MainWindow* frame = Start();
    frame->showMaximized();
    QTest::qWait(20);
    const WinRect maximised{frame->frameGeometry().left(), frame->frameGeometry().top(),
                            frame->frameGeometry().right() + 1,
                            frame->frameGeometry().bottom() + 1};
    EXPECT_GT(maximised.Width(), 400);
    frame->close();
    h.End();
    EXPECT_EQ(ReadWindowRect(h.settings), maximised);

    MainWindow* next = Start();
    EXPECT_FALSE(next->isMaximized());
    EXPECT_EQ(next->frameGeometry().size(), QSize(maximised.Width(), maximised.Height()));
}

TEST_F(WindowPlaceTest, MinimisedCloseStoresWhereTheWindowComesBack) {
    Store({40, 30, 440, 330});
    MainWindow* frame = Start();
    frame->showMinimized();
    QTest::qWait(20);
    h.End();
    EXPECT_EQ(ReadWindowRect(h.settings), (WinRect{40, 30, 440, 330}));
}

TEST_F(WindowPlaceTest, RectangleOnNoScreenFallsBackToTheDefaultPlace) {
    Store({-5000, -5000, -4200, -4400});
    MainWindow* frame = Start();
    EXPECT_TRUE(frame->screen()->geometry().intersects(frame->frameGeometry()));
}

}  // namespace
}  // namespace kantoria
