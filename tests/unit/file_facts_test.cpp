#include "core/dialogs/file_facts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "testing/core/test_files.h"

namespace kantoria {
namespace {

using test::TempFolder;
using test::WriteBytes;

// 23 August 2004, 14:05:09 UTC.
constexpr std::time_t kAugust2004 = 1093269909;

// The C library's time zone, as TZ names it (empty: the system's own).
void SetTimeZone(const char* zone) {
#ifdef _WIN32
    ::_putenv_s("TZ", zone);
    ::_tzset();
#else
    if (*zone != '\0')
        ::setenv("TZ", zone, 1);
    else
        ::unsetenv("TZ");
    ::tzset();
#endif
}

class FileFactsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTimeZone("UTC");
        // The GUI toolkit switches to the user's locale; the texts must not follow it.
        std::setlocale(LC_ALL, "C.UTF-8");
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        SetTimeZone("");
    }
};

TEST_F(FileFactsTest, TextsOfAnExistingFile) {
    TempFolder dir;
    WriteBytes(dir / "日本.txt", "");
    std::filesystem::last_write_time(
        SystemPath(dir / "日本.txt"),
        std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(kAugust2004)));
    const FileFacts facts = DescribeFile(dir / "日本.txt");
    EXPECT_TRUE(facts.exists);
    EXPECT_EQ(facts.size, "0 ﾊﾞｲﾄ");
    EXPECT_EQ(facts.date, "08/23/04 14:05:09");
}

TEST_F(FileFactsTest, MissingFileSaysSoInBothTexts) {
    TempFolder dir;
    const FileFacts facts = DescribeFile(dir / "gone.txt");
    EXPECT_FALSE(facts.exists);
    EXPECT_EQ(facts.size, "ファイルがありません。");
    EXPECT_EQ(facts.date, "ファイルがありません。");
}

TEST_F(FileFactsTest, SizesAreWholeAndUngrouped) {
    EXPECT_EQ(FormatFileSize(1234567), "1234567 ﾊﾞｲﾄ");
    EXPECT_EQ(FormatFileSize(5'000'000'000ULL), "5000000000 ﾊﾞｲﾄ");
}

TEST_F(FileFactsTest, TimeIsLocalAndIgnoresTheLocale) {
    SetTimeZone("JST-9");
    EXPECT_EQ(FormatModifiedTime(kAugust2004), "08/23/04 23:05:09");
    EXPECT_EQ(FormatModifiedTime(kAugust2004 + 3600), "08/24/04 00:05:09");
}

}  // namespace
}  // namespace kantoria
