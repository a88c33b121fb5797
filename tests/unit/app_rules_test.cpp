// The application's rules that need no window: the remembered rectangle and its placement,
// instance recognition by caption, recent files and the string table.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/app/document_session.h"
#include "core/app/instance_match.h"
#include "core/app/recent_files.h"
#include "core/app/window_rect.h"
#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"
#include "testing/core/icon_fakes.h"
#include "testing/core/settings_memory.h"

namespace kantoria {
namespace {

TEST(WindowRectTest, StoredValuesRoundTripIncludingNegativeOnes) {
    MemorySettingsStore settings;
    EXPECT_TRUE(ReadWindowRect(settings).AllZero());
    const WinRect leftMonitor{-1600, -20, -800, 580};
    WriteWindowRect(settings, leftMonitor);
    EXPECT_EQ(settings.GetProfileString("STATUS", "WINPOSX", ""), "-1600");
    EXPECT_EQ(settings.GetProfileString("STATUS", "WINPOSY", ""), "-20");
    EXPECT_EQ(settings.GetProfileString("STATUS", "WINWIDTH", ""), "800");
    EXPECT_EQ(settings.GetProfileString("STATUS", "WINHEIGHT", ""), "600");
    EXPECT_EQ(ReadWindowRect(settings), leftMonitor);
}

TEST(WindowRectTest, ValueThatIsNotANumberReadsAsZero) {
    MemorySettingsStore settings;
    settings.WriteProfileString("STATUS", "WINPOSX", "left");
    settings.WriteProfileInt("STATUS", "WINWIDTH", 640);
    EXPECT_EQ(ReadWindowRect(settings), (WinRect{0, 0, 640, 0}));
}

struct PlacementCase {
    const char* name;
    WinRect saved;
    bool used;
};
void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.name;
}

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, UsesOnlyARectangleThatShowsOnAScreen) {
    // A primary monitor and one to its left.
    const std::vector<WinRect> screens = {{0, 0, 1280, 800}, {-1600, 0, 0, 900}};
    const std::optional<WinRect> place = PlacementFor(GetParam().saved, screens);
    EXPECT_EQ(place.has_value(), GetParam().used);
    if (place) {
        EXPECT_EQ(*place, GetParam().saved);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlacementTest,
    ::testing::Values(PlacementCase{"NothingStored", {0, 0, 0, 0}, false},
                      PlacementCase{"TopLeftCorner", {0, 0, 800, 600}, true},
                      PlacementCase{"LeftMonitor", {-1500, 10, -700, 610}, true},
                      PlacementCase{"PartlyOffTheRight", {1200, 100, 2000, 700}, true},
                      PlacementCase{"UnpluggedMonitor", {3000, 0, 3800, 600}, false},
                      PlacementCase{"FarAbove", {0, -2000, 800, -1400}, false},
                      PlacementCase{"NoWidth", {100, 100, 100, 700}, false},
                      PlacementCase{"NegativeSize", {100, 100, 50, 700}, false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(InstanceMatchTest, FileNamePartTakesEitherSeparator) {
    EXPECT_EQ(CatalogueFileName("C:\\Data\\MORKA.ZNL"), "MORKA.ZNL");
    EXPECT_EQ(CatalogueFileName("/home/u/MORKA.ZNL"), "MORKA.ZNL");
    EXPECT_EQ(CatalogueFileName("MORKA.ZNL"), "MORKA.ZNL");
    EXPECT_EQ(FrameCaption("/home/u/目録.ZNL"), "目録.ZNL - Kantoria");
    EXPECT_EQ(FrameCaption(""), "無題 - Kantoria");
}

TEST(InstanceMatchTest, FindsTheInstanceByCaptionThenByProductTitle) {
    using Captions = std::vector<std::vector<std::string>>;
    const std::string stored = "C:\\Data\\MORKA.ZNL";
    EXPECT_FALSE(FindInstanceHolding(stored, Captions{}));
    EXPECT_FALSE(
        FindInstanceHolding(stored, Captions{{"OTHER.ZNL - Kantoria"}, {"無題 - Kantoria"}}));
    EXPECT_EQ(
        FindInstanceHolding(stored, Captions{{"OTHER.ZNL - Kantoria"}, {"MORKA.ZNL - Kantoria"}}),
        1u);
    // A dialog captioned with the product title alone counts, but an exact caption wins.
    EXPECT_EQ(FindInstanceHolding(stored, Captions{{"X.ZNL - Kantoria", "Kantoria"}}), 0u);
    EXPECT_EQ(FindInstanceHolding(stored, Captions{{"Kantoria"}, {"MORKA.ZNL - Kantoria"}}), 1u);
    // Captions are compared exactly.
    EXPECT_FALSE(FindInstanceHolding(stored, Captions{{"morka.znl - Kantoria"}}));
}

// Two instances find each other only on one display with one settings folder.
TEST(InstanceMatchTest, InstancesOfOtherDisplaysOrSettingsAreNeverFound) {
    using Vars = std::map<std::string, std::string, std::less<>>;
    const Vars base{{"DISPLAY", ":0"}, {"HOME", "/home/u"}};
    const struct {
        Vars other;
        bool same;
    } cases[] = {
        {{{"DISPLAY", ":0.0"}, {"HOME", "/home/u/"}}, true},
        {{{"DISPLAY", "unix:0.1"}, {"HOME", "/home/u"}}, true},
        {{{"DISPLAY", ":0"}, {"XDG_CONFIG_HOME", "/home/u//.config/"}}, true},
        {{{"DISPLAY", ":0"}, {"HOME", "/home/u"}, {"XDG_CONFIG_HOME", ""}}, true},
        {{{"DISPLAY", ":1"}, {"HOME", "/home/u"}}, false},
        {{{"DISPLAY", "otherhost:0"}, {"HOME", "/home/u"}}, false},
        {{{"HOME", "/home/u"}}, false},
        {{{"DISPLAY", ":0"}, {"HOME", "/home/u"}, {"WAYLAND_DISPLAY", "wayland-1"}}, false},
        {{{"DISPLAY", ":0"}, {"HOME", "/home/v"}}, false},
        {{{"DISPLAY", ":0"}, {"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/etc/u"}}, false},
    };
    const std::string own = InstanceScope(test::MapEnvironment(base));
    EXPECT_EQ(own.size(), 16u);
    for (const auto& c : cases) {
        std::string spelled;
        for (const auto& [name, value] : c.other) spelled += name + "=" + value + " ";
        EXPECT_EQ(InstanceScope(test::MapEnvironment(c.other)) == own, c.same) << spelled;
    }
}

TEST(RecentFilesTest, NewestFirstWithoutDuplicatesAndAtMostFour) {
    RecentFileList recent;
    for (const char* path : {"/a.ZNL", "/b.ZNL", "/c.ZNL", "/a.ZNL", "/d.ZNL", "/e.ZNL"})
        recent.Add(path);
    EXPECT_EQ(recent.Items(), (std::vector<std::string>{"/e.ZNL", "/d.ZNL", "/a.ZNL", "/c.ZNL"}));
    recent.Remove(1);
    EXPECT_EQ(recent.Items(), (std::vector<std::string>{"/e.ZNL", "/a.ZNL", "/c.ZNL"}));
}

TEST(RecentFilesTest, SettingsRoundTripAndMenuText) {
    MemorySettingsStore settings;
    RecentFileList recent;
    recent.Add("/x/R&D.ZNL");
    recent.Add("/x/b.ZNL");
    recent.WriteList(settings);
    EXPECT_EQ(settings.GetProfileString("Recent File List", "File1", ""), "/x/b.ZNL");
    EXPECT_EQ(settings.GetProfileString("Recent File List", "File2", ""), "/x/R&D.ZNL");
    EXPECT_EQ(settings.GetProfileString("Recent File List", "File4", "?"), "");
    RecentFileList read;
    read.ReadList(settings);
    EXPECT_EQ(read.Items(), recent.Items());
    EXPECT_EQ(read.MenuText(1), "&2 /x/R&&D.ZNL");
}

TEST(StringTableTest, PromptsTooltipsAndTemplateFields) {
    EXPECT_EQ(CommandPrompt(ID_FILE_OPEN), "既存のファイルを開く");
    EXPECT_EQ(CommandTooltip(ID_FILE_OPEN), "開く");
    EXPECT_EQ(CommandPrompt(ID_FILE_MRU_FILE1 + 3), "指定のファイルを開く");
    EXPECT_EQ(CommandTooltip(ID_FILE_MRU_FILE1 + 3), "");
    EXPECT_EQ(CommandPrompt(ID_ENTRY_ADD), "");
    const std::vector<std::string_view> fields = {
        "Kantoria",       "", "MORKA2", "MORKA2 Files (*.ZNL)", ".ZNL", "MORKA2.Document",
        "MORKA2.Document"};
    for (size_t i = 0; i < fields.size(); ++i)
        EXPECT_EQ(TemplateField(static_cast<DocField>(i)), fields[i]) << i;
    EXPECT_EQ(FormatString(IDS_OPEN_FAILED, {"/a.ZNL", "理由"}), "/a.ZNL を開けません。\n理由");
    // A file name that holds a mark is inserted as it is.
    EXPECT_EQ(FormatString(IDS_SAVE_FAILED, {"/x/100%2.ZNL", "理由"}),
              "/x/100%2.ZNL に保存できません。\n理由");
    EXPECT_EQ(LoadString(12345), "");
}

// A failure is told in the user's language, each kind in its own words; the system's own
// (English) words appear only for a failure the program has no name for.
TEST(ReasonTextTest, EachCodeHasItsOwnWordsAndOnlyOtherQuotesTheSystem) {
    std::set<std::string> seen;
    for (int c = static_cast<int>(StatusCode::NotFound); c <= static_cast<int>(StatusCode::Other);
         ++c) {
        const auto code = static_cast<StatusCode>(c);
        SCOPED_TRACE(c);
        const Status status = Status::Failed(code, "Input/output error");
        for (const std::string& text : {SystemReason(status), UserReason(status)}) {
            EXPECT_EQ(text.find("Input/output error") != std::string::npos,
                      code == StatusCode::Other);
            EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](char ch) { return ch & 0x80; }));
        }
        EXPECT_TRUE(seen.insert(SystemReason(status)).second) << SystemReason(status);
    }
}

}  // namespace
}  // namespace kantoria
