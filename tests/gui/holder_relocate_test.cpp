#include <QAction>
#include <QMenu>
#include <set>

#include "tests/gui/views_fixture.h"

namespace kantoria::test {
namespace {

class HolderRelocateTest : public ViewsTest {
  protected:
    void SetUp() override {
        Open({{"C:\\書類\\報告\\a.doc", "A", "note"},
              {"C:\\書類\\b.doc", "B", ""},
              {"C:\\Other\\c.doc", "C", ""},
              {"/home/u/書類/b.doc", "Taken", ""}});
        tree->SetRelocateServices(
            {files, services.icons, [this](const std::string& p) { return onDisk.count(p) != 0; }});
        doc.MarkUnchanged();
    }
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const Entry& e : doc.Entries()) paths.emplace_back(e.Path());
        return paths;
    }

    std::set<std::string> onDisk{"/home/u/書類/報告/a.doc"};
    const std::vector<std::string> before{"C:\\書類\\報告\\a.doc", "C:\\書類\\b.doc",
                                          "C:\\Other\\c.doc", "/home/u/書類/b.doc"};
};

TEST_F(HolderRelocateTest, TheTreeMenuAsksConfirmsAndMovesKeepingTheHolderShown) {
    ClickHolder("C:\\書類\\");
    ClickHolder("C:\\書類\\", Qt::RightButton);
    QAction* relocate = tree->popupMenu()->actions().back();
    ASSERT_TRUE(relocate->isEnabled());
    files.answers = {"/home/u/書類"};
    relocate->trigger();
    tree->popupMenu()->close();

    EXPECT_EQ(files.folderCaptions, (std::vector<std::string>{"ホルダーの移動先"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "C:\\書類\\\n→ /home/u/書類\n\n1 件のパスを書き換えます。書き換えた後にファイルがある"
              "のは 1 件です。\n\n次の 1 件は新しいパスがほかのエントリーと重なるため、書き換え"
              "ません：\nB（/home/u/書類/b.doc）\n\n書き換えますか？");
    EXPECT_EQ(messages.shown[0].buttons, MbButtons::OkCancel);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/home/u/書類/報告/a.doc", "C:\\書類\\b.doc",
                                                 "C:\\Other\\c.doc", "/home/u/書類/b.doc"}));
    EXPECT_EQ(doc.FindByTitle("A")->Comment(), "note");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Extensions(), (std::vector<std::string>{".doc"}));
    EXPECT_EQ(ShownFolder(), "/home/u/書類/");
    EXPECT_EQ(ListedTitles(), (std::vector<std::string>{"Taken"}));
    EXPECT_NE(TreeIndex("/home/u/書類/報告/"), QModelIndex());
}

TEST_F(HolderRelocateTest, CancelOrNothingToMoveChangesNothing) {
    struct Case {
        const char* name;
        std::optional<std::string> folder;
        MbAnswer answer;
        std::size_t boxes;
    } cases[] = {
        {"picker cancelled", std::nullopt, MbAnswer::Ok, 0},
        {"confirmation cancelled", "/home/u/書類", MbAnswer::Cancel, 1},
        {"the same folder", "C:\\書類", MbAnswer::Ok, 1},
    };
    EXPECT_FALSE(tree->CanRelocateShownHolder());
    ClickHolder("C:\\書類\\");
    ASSERT_TRUE(tree->CanRelocateShownHolder());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        files.answers = {c.folder};
        messages.answers = {c.answer};
        tree->RelocateShownHolder();
        EXPECT_EQ(messages.shown.size(), c.boxes);
        EXPECT_EQ(Paths(), before);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(ShownFolder(), "C:\\書類\\");
    }
    EXPECT_EQ(messages.shown.back().buttons, MbButtons::Ok);
}

}  // namespace
}  // namespace kantoria::test
