// The preview pane beside the entry list: 表示's toggle and its width are remembered, and the
// selected entry's document shows as pages, a picture or its text with the find words marked,
// without the window waiting for it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPdfDocument>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTest>
#include <chrono>
#include <thread>

#include "core/resources/command_ids.h"
#include "testing/content/make_document.h"
#include "tests/app/app_fakes.h"
#include "ui/frame/frame_preview.h"
#include "ui/views/entry_list_view.h"
#include "ui/views/holder_tree_view.h"
#include "ui/views/preview_pane.h"

namespace kantoria {
namespace {

using Showing = PreviewPane::Showing;

constexpr const char* kFound = "report year 報告";

class PreviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("KANTORIA_EXTRACT", KANTORIA_EXTRACT_PROGRAM);
        ASSERT_TRUE(test::MakeDocument(File("見積書.pdf"), test::DocFormat::Pdf,
                                       {"Estimate 見積書", "Total 1200"}));
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        ASSERT_TRUE(picture.save(QString::fromStdString(File("写真.png"))));
        ASSERT_TRUE(test::WriteBytes(File("メモ.txt"), "年間の報告\r\nＲｅｐｏｒｔ of the year\n"));
        ASSERT_TRUE(test::WriteBytes(File("空.txt"), ""));
        Open();
        for (const char* name : {"見積書.pdf", "写真.png", "メモ.txt", "gone.doc", "空.txt"})
            doc().Entries().Append(File(name), name, "");
        doc().Entries().Append(File("メモ.txt"), kFound, "");  // what the find words list
        doc().RebuildHolders();
        doc().UpdateAllViews(nullptr);
        auto* tree = static_cast<HolderTreeView*>(frame->Views().tree->Widget());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualRect(tree->model()->index(0, 0)).center());
        ASSERT_EQ(list->entryModel()->rowCount(), 6);
    }
    void Open() {
        ASSERT_TRUE(h.app->NewDocument());
        frame = h.app->MainFrame();
        frame->ShowAtSavedPlace();
        list = static_cast<EntryListView*>(frame->Views().list->Widget());
    }
    std::string File(const char* name) const {
        return h.folder.filePath(QString::fromUtf8(name)).toStdString();
    }
    Catalogue& doc() { return h.app->Document()->Doc(); }
    PreviewPane& pane() { return *frame->Preview()->Pane(); }
    void Select(const std::string& title) {
        for (int row = 0; row < list->entryModel()->rowCount(); ++row) {
            if (list->entryModel()->TitleAt(row) != title) continue;
            list->reportView()->selectionModel()->setCurrentIndex(
                list->entryModel()->index(row, 0), QItemSelectionModel::ClearAndSelect);
        }
    }
    bool Settled() {
        return QTest::qWaitFor([this] { return !pane().Loading(); }, 20000);
    }

    test::AppHarness h;
    MainWindow* frame = nullptr;
    EntryListView* list = nullptr;
};

TEST_F(PreviewTest, ShownAndWidthAreRememberedOffAtFirst) {
    EXPECT_EQ(frame->StateOf(ID_VIEW_PREVIEW).checked, std::optional<bool>(false));
    EXPECT_TRUE(pane().isHidden());
    frame->RouteCommand(ID_VIEW_PREVIEW);
    EXPECT_TRUE(pane().isVisible());
    EXPECT_EQ(h.settings.GetProfileInt("SETTINGS", "PREVIEW", 0), 1);
    QSplitter* splitter = frame->Splitter();
    QList<int> sizes = splitter->sizes();
    ASSERT_EQ(sizes.size(), 3);
    EXPECT_GT(sizes[2], 0);
    sizes[1] += sizes[2] - 150;
    sizes[2] = 150;
    splitter->setSizes(sizes);
    emit splitter->splitterMoved(sizes[0] + sizes[1], 2);  // as a drag ends
    const int width = pane().width();
    EXPECT_EQ(h.settings.GetProfileInt("SETTINGS", "PREVIEWWIDTH", 0), width);

    h.app.reset();  // the next start finds the pane shown, as wide as it was
    h.app = std::make_unique<Application>(h.services, MakeFrameViews);
    Open();
    EXPECT_EQ(frame->StateOf(ID_VIEW_PREVIEW).checked, std::optional<bool>(true));
    QTest::qWait(50);
    EXPECT_EQ(pane().width(), width);
    frame->RouteCommand(ID_VIEW_PREVIEW);
    EXPECT_TRUE(pane().isHidden());
    EXPECT_EQ(h.settings.GetProfileInt("SETTINGS", "PREVIEW", 1), 0);
}

// Each kind of document as the pane shows it; the find words mark the text, case and width
// aside, and follow the field as it changes.
TEST_F(PreviewTest, EachKindOfDocument) {
    frame->RouteCommand(ID_VIEW_PREVIEW);
    const struct {
        const char* title;
        Showing shown;
        std::string message;  // the start of the message shown, if one is
    } cases[] = {
        {"見積書.pdf", Showing::Pdf, ""},
        {"写真.png", Showing::Image, ""},
        {"メモ.txt", Showing::Text, ""},
        {"空.txt", Showing::Text, ""},
        {"gone.doc", Showing::Message, "ファイルが見つかりません。\n" + File("gone.doc")},
    };
    for (const auto& c : cases) {
        Select(c.title);
        ASSERT_TRUE(Settled()) << c.title;
        EXPECT_EQ(pane().Shown(), c.shown) << c.title;
        EXPECT_EQ(pane().Message().toStdString(), c.message) << c.title;
    }
    Select("見積書.pdf");
    ASSERT_TRUE(Settled());
    EXPECT_EQ(pane().Pdf()->pageCount(), 1);
    Select("写真.png");
    ASSERT_TRUE(Settled());
    EXPECT_EQ(pane().Image().size(), QSize(40, 20));
    frame->FindField()->setText(QStringLiteral("report 報告"));
    Select(kFound);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(pane().TextView()->toPlainText(),
              QStringLiteral("年間の報告\nＲｅｐｏｒｔ of the year\n"));
    using Marks = std::vector<std::pair<int, int>>;
    EXPECT_EQ(pane().Marks(), (Marks{{3, 2}, {6, 6}}));
    frame->FindField()->setText(QStringLiteral("YEAR"));
    EXPECT_EQ(pane().Shown(), Showing::Text);
    EXPECT_EQ(pane().Marks(), (Marks{{20, 4}}));
    frame->FindField()->clear();

    list->RunCommand(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(pane().Message(), QStringLiteral("6 個のファイルが選択されています。"));
    list->reportView()->selectionModel()->clearSelection();
    EXPECT_EQ(pane().Message().toStdString(), LoadString(IDS_PREVIEW_NONE));
}

// A slow document's answer that comes after the selection moved on is dropped; a text that
// cannot be read says why.
TEST_F(PreviewTest, LateAnswersAreDroppedAndFailuresSayWhy) {
    frame->Preview()->SetTextSource([](const std::string& path) {
        if (path.ends_with(".doc")) return PreviewText{false, {}, "no words here"};
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        return PreviewText{true, "slow", {}};
    });
    ASSERT_TRUE(test::WriteBytes(File("gone.doc"), "x"));
    frame->RouteCommand(ID_VIEW_PREVIEW);
    Select("メモ.txt");
    QTest::qWait(200);  // the pause has passed: the slow read is under way
    EXPECT_TRUE(pane().Loading());
    Select("写真.png");
    ASSERT_TRUE(Settled());
    QTest::qWait(500);
    EXPECT_EQ(pane().Shown(), Showing::Image);
    Select("gone.doc");
    ASSERT_TRUE(Settled());
    EXPECT_EQ(pane().Message(), QStringLiteral("この文書は表示できません。\nno words here"));
}

}  // namespace
}  // namespace kantoria
