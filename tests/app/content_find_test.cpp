// The find field reading the documents: the remembered toggle, the live index with its
// progress and pause, hits merged into the find with their mark and snippet, and the documents
// whose text could not be read.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <fstream>

#include "core/app/command_target.h"
#include "core/resources/command_ids.h"
#include "tests/app/app_fakes.h"
#include "ui/frame/content_find.h"
#include "ui/views/entry_list_view.h"

namespace kantoria {
namespace {

using Strings = std::vector<std::string>;

class ContentFindTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("KANTORIA_EXTRACT", KANTORIA_FAKE_EXTRACT);
        qputenv("XDG_CACHE_HOME", h.folder.filePath(QStringLiteral("cache")).toUtf8());
        ASSERT_TRUE(h.app->NewDocument());
        frame = h.app->MainFrame();
        frame->ShowAtSavedPlace();
        content = frame->ContentSearch();
        list = static_cast<EntryListView*>(frame->Views().list->Widget());
        for (const auto& [name, title, text] : std::vector<std::array<const char*, 3>>{
                 {"a.txt", "メモ", "今年の契約書の控え"},
                 {"b.txt", "報告", "売上の数字"},
                 {"broken.txt", "壊れた", ""},
             }) {
            const std::string path = h.folder.filePath(QString::fromUtf8(name)).toStdString();
            std::ofstream(path) << text;
            doc().Entries().Append(path, title, "");
        }
        doc().RebuildHolders();
        doc().UpdateAllViews(nullptr);
    }
    Catalogue& doc() { return h.app->Document()->Doc(); }
    Strings Listed() const {
        Strings titles;
        for (int row = 0; row < list->entryModel()->rowCount(); ++row)
            titles.push_back(list->entryModel()->TitleAt(row));
        return titles;
    }
    QVariant Row(int row, int role) const {
        return list->entryModel()->data(list->entryModel()->index(row, 0), role);
    }
    bool Checked(int id) {
        CommandState state;
        return frame->QueryCommand(id, state) && state.checked.value_or(false);
    }
    void SaveAs(const char* name) {
        frame->SetDocumentPath(h.folder.filePath(QString::fromUtf8(name)).toStdString());
    }
    // Types text and waits until the documents' answer joined the find, with its snippets.
    void Type(const QString& text) {
        QSignalSpy shown(content, &ContentFind::AnswerShown);
        QSignalSpy snippets(content, &ContentFind::SnippetsShown);
        frame->FindField()->setText(text);
        ASSERT_TRUE(shown.wait(10000)) << text.toStdString();
        const auto& found = list->RowSource().FoundInTextRows();
        const bool lacking =
            std::any_of(found.begin(), found.end(), [](const auto& r) { return r.second.empty(); });
        ASSERT_TRUE(!lacking || snippets.count() > 0 || snippets.wait(10000)) << text.toStdString();
    }
    QLabel* Progress() const { return frame->statusBar()->findChild<QLabel*>("indexProgress"); }

    test::AppHarness h;
    MainWindow* frame = nullptr;
    ContentFind* content = nullptr;
    EntryListView* list = nullptr;
};

TEST_F(ContentFindTest, TheFindReadsTheDocumentsOnceTurnedOn) {
    EXPECT_FALSE(Checked(ID_ENTRY_FIND_CONTENT));  // off until the user turns it on
    frame->RouteCommand(ID_ENTRY_FIND_CONTENT);
    EXPECT_TRUE(Checked(ID_ENTRY_FIND_CONTENT));
    EXPECT_EQ(h.Stored(IDS_VALUE_FINDCONTENT), "1");
    // Untitled: no index, and the toggle says why.
    EXPECT_EQ(content->Toggle()->toolTip().toStdString(), LoadString(IDS_CONTENT_UNTITLED));
    EXPECT_FALSE(frame->StateOf(ID_TOOLS_REINDEX).enabled);

    QSignalSpy updated(content, &ContentFind::IndexUpdated);
    SaveAs("one.znl");
    EXPECT_TRUE(Progress()->isVisible());
    EXPECT_TRUE(Progress()->text().startsWith(QStringLiteral("本文の索引: ")));
    ASSERT_TRUE(updated.wait(10000));
    EXPECT_FALSE(Progress()->isVisible());

    struct {
        const char* text;
        Strings titles;
        bool inText;  // the first row was found in its document
    } const cases[] = {
        {"契約", {"メモ"}, true},
        {"メモ 控え", {"メモ"}, true},  // one word in the title, one in the text
        {"報告", {"報告"}, false},
        {"売上 契約", {}, false},
    };
    for (const auto& c : cases) {
        Type(QString::fromUtf8(c.text));
        EXPECT_EQ(Listed(), c.titles) << c.text;
        if (c.titles.empty()) continue;
        EXPECT_EQ(Row(0, Qt::AccessibleDescriptionRole).toString() == "本文に見つかりました",
                  c.inText)
            << c.text;
        EXPECT_EQ(Row(0, Qt::ToolTipRole).toString().contains(QStringLiteral("控え")), c.inText)
            << c.text;
    }
    Type(QStringLiteral("契約"));
    list->currentView()->setCurrentIndex(list->entryModel()->index(0, 0));
    EXPECT_TRUE(frame->statusBar()->currentMessage().contains(QStringLiteral("契約")));

    frame->RouteCommand(ID_ENTRY_UNREADABLE);
    EXPECT_EQ(Listed(), Strings{"壊れた"});
    // Its properties say why.
    list->currentView()->setCurrentIndex(list->entryModel()->index(0, 0));
    QString why;
    h.dialogs.inspect = [&why](QDialog& dialog) {
        const auto* label = dialog.findChild<QLabel*>(QStringLiteral("unreadable"));
        if (label != nullptr && !label->isHidden()) why = label->text();
    };
    frame->RouteCommand(ID_ENTRY_PROPERTIES);
    EXPECT_TRUE(why.startsWith(QStringLiteral("本文を読み取れません: damaged file")))
        << why.toStdString();

    // Saved under another name, the index goes along: the text is found at once.
    SaveAs("two.znl");
    ASSERT_TRUE(updated.wait(10000));
    Type(QStringLiteral("数字"));
    EXPECT_EQ(Listed(), Strings{"報告"});
}

TEST_F(ContentFindTest, TheIndexingPausesAndGoesOn) {
    const std::string sleeper = h.folder.filePath(QStringLiteral("sleep.txt")).toStdString();
    std::ofstream(sleeper) << "x";
    doc().Entries().Append(sleeper, "眠る", "");
    content->SetEnabled(true);
    SaveAs("one.znl");
    auto* pause = frame->statusBar()->findChild<QToolButton*>("indexPause");
    ASSERT_TRUE(pause->isVisible());
    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_TRUE(content->Paused());
    EXPECT_TRUE(Progress()->text().contains(QStringLiteral("一時停止中")));
    EXPECT_EQ(pause->text(), QStringLiteral("再開"));
    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_FALSE(content->Paused());
    EXPECT_TRUE(content->Indexing());
}

}  // namespace
}  // namespace kantoria
