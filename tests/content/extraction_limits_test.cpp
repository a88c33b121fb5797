// The extraction program under limits, with a stand-in that misbehaves as its document's
// name asks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "core/content/extraction.h"
#include "core/os/helper_process.h"

namespace kantoria {
namespace {

using namespace std::chrono_literals;

struct LimitCase {
    const char* name;
    Extracted kind;
    const char* reason;  // a piece of the reason
    // Long enough for a second of processor time on a busy machine, except where the wall
    // time is the limit tried.
    std::chrono::milliseconds wall = 60s;
};

class ExtractionLimits : public testing::TestWithParam<LimitCase> {};

TEST_P(ExtractionLimits, EndInAnOutcomeWithAReason) {
    const LimitCase& c = GetParam();
    if (std::string(c.name) == "hog" && !AddressSpaceLimitApplies())
        GTEST_SKIP() << "no address-space limit under AddressSanitizer";
    const auto folder = std::filesystem::path(testing::TempDir()) / "limits";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / (std::string(c.name) + ".txt")).string();
    std::ofstream(path) << "本文 text";
    RunLimits limits;
    limits.addressSpace = std::uint64_t{256} << 20;
    limits.cpuSeconds = 1;
    limits.wall = c.wall;
    limits.outputCap = std::size_t{1} << 20;
    const ExtractionResult result = ExtractText(KANTORIA_FAKE_EXTRACT, path, limits);
    EXPECT_EQ(result.kind, c.kind) << result.reason;
    EXPECT_NE(result.reason.find(c.reason), std::string::npos) << result.reason;
    if (c.kind == Extracted::Text) {
        EXPECT_EQ(result.text, "本文 text");
    }
    // Nothing is left running once its end is known.
    for (int i = 0; i < 100 && HelpersLeftBehind() > 0; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(HelpersLeftBehind(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractionLimits,
    testing::Values(LimitCase{"plain", Extracted::Text, ""},
                    LimitCase{"unsupported", Extracted::Unsupported, "no reader"},
                    LimitCase{"broken", Extracted::Failed, "damaged file"},
                    LimitCase{"crash", Extracted::Failed, "crashed (signal 11)"},
                    LimitCase{"sleep", Extracted::Failed, "no text after 1 s", 1s},
                    LimitCase{"spin", Extracted::Failed, "1 s of processor time"},
                    LimitCase{"hog", Extracted::Failed, "out of memory"},
                    LimitCase{"flood", Extracted::Failed, "more text than its limit"}));

TEST(ExtractionProgram, AMissingOneIsAFailureThatSaysSo) {
    const ExtractionResult result = ExtractText("/nonexistent/extract", "/etc/hostname", {});
    EXPECT_EQ(result.kind, Extracted::Failed);
    EXPECT_NE(result.reason.find("could not start"), std::string::npos);
}

}  // namespace
}  // namespace kantoria
