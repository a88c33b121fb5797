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
    // Whether a worker serving it survives (answers rather than being ended).
    bool workerSurvives = false;
    // Long enough for a second of processor time on a busy machine, except where the wall
    // time is the limit tried.
    std::chrono::milliseconds wall = 60s;
};

RunLimits TestLimits() {
    RunLimits limits;
    limits.addressSpace = std::uint64_t{256} << 20;
    limits.cpuSeconds = 1;
    limits.outputCap = std::size_t{1} << 20;
    return limits;
}

std::string Document(const std::string& name, const std::string& text = "本文 text") {
    const auto folder = std::filesystem::path(testing::TempDir()) / "limits";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / name).string();
    std::ofstream(path) << text;
    return path;
}

void ExpectNothingLeftRunning() {
    for (int i = 0; i < 100 && HelpersLeftBehind() > 0; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(HelpersLeftBehind(), 0);
}

class ExtractionLimits : public testing::TestWithParam<LimitCase> {};

TEST_P(ExtractionLimits, EndInAnOutcomeWithAReason) {
    const LimitCase& c = GetParam();
    if (std::string(c.name) == "hog" && !AddressSpaceLimitApplies())
        GTEST_SKIP() << "no address-space limit under AddressSanitizer";
    const std::string path = Document(std::string(c.name) + ".txt");
    RunLimits limits = TestLimits();
    limits.wall = c.wall;
    const auto check = [&](const ExtractionResult& result) {
        EXPECT_EQ(result.kind, c.kind) << result.reason;
        EXPECT_NE(result.reason.find(c.reason), std::string::npos) << result.reason;
        if (c.kind == Extracted::Text) {
            EXPECT_EQ(result.text, "本文 text");
        }
    };
    check(ExtractText(KANTORIA_FAKE_EXTRACT, path, limits));
    // Served, it costs only itself: the next document in that worker is read as ever.
    ExtractionWorker worker(KANTORIA_FAKE_EXTRACT, limits);
    check(worker.Extract(path));
    const ExtractionResult next = worker.Extract(Document("next.txt", "次の文書"));
    EXPECT_EQ(next.text, "次の文書") << next.reason;
    EXPECT_EQ(worker.starts(), c.workerSurvives ? 1 : 2);
    ExpectNothingLeftRunning();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractionLimits,
    testing::Values(LimitCase{"plain", Extracted::Text, "", true},
                    LimitCase{"unsupported", Extracted::Unsupported, "no reader", true},
                    LimitCase{"broken", Extracted::Failed, "damaged file", true},
                    LimitCase{"crash", Extracted::Failed, "crashed (signal 11)"},
                    LimitCase{"sleep", Extracted::Failed, "no text after 1 s", false, 1s},
                    LimitCase{"spin", Extracted::Failed, "1 s of processor time"},
                    LimitCase{"hog", Extracted::Failed, "out of memory"},
                    LimitCase{"flood", Extracted::Failed, "more text than its limit"}));

// Each document in a worker gets a whole allowance of processor time, however much the ones
// before it used; a worker near its own hard limit is replaced.
TEST(ExtractionWorker, EachDocumentHasItsOwnProcessorTime) {
    ExtractionWorker worker(KANTORIA_FAKE_EXTRACT, TestLimits());
    const std::string path = Document("burn.txt");
    for (int i = 0; i < 6; ++i) {
        const ExtractionResult result = worker.Extract(path);
        EXPECT_EQ(result.kind, Extracted::Text) << i << ": " << result.reason;
    }
    EXPECT_EQ(worker.starts(), 2);
}

TEST(ExtractionProgram, AMissingOneIsAFailureThatSaysSo) {
    const ExtractionResult result = ExtractText("/nonexistent/extract", "/etc/hostname", {});
    EXPECT_EQ(result.kind, Extracted::Failed);
    EXPECT_NE(result.reason.find("could not start"), std::string::npos);
}

}  // namespace
}  // namespace kantoria
