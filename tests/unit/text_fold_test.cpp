#include "core/text/text_fold.h"

#include <gtest/gtest.h>

#include "core/text/text_codec.h"
#include "core/text/text_number.h"

namespace kantoria {
namespace {

struct NoCaseCase {
    const char* a;
    const char* b;
    int order;  // sign of CompareNoCase(a, b)
};
void PrintTo(const NoCaseCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.a) << " vs " << ::testing::PrintToString(c.b);
}

class NoCase : public ::testing::TestWithParam<NoCaseCase> {};

TEST_P(NoCase, ComparesAndHashesConsistently) {
    const auto& c = GetParam();
    const int order = CompareNoCase(c.a, c.b);
    EXPECT_EQ((order > 0) - (order < 0), c.order) << c.a << " vs " << c.b;
    EXPECT_EQ(EqualsNoCase(c.a, c.b), c.order == 0);
    if (c.order == 0) {
        EXPECT_EQ(HashNoCase(c.a), HashNoCase(c.b));
    }
    EXPECT_EQ(CompareNoCase(FoldCase(c.a), FoldCase(c.b)) == 0, c.order == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NoCase,
    ::testing::Values(NoCaseCase{"Report", "report", 0}, NoCaseCase{"REPORT.DOC", "report.doc", 0},
                      NoCaseCase{"ＡＢＣ", "ａｂｃ", 0},  // full-width letters fold
                      NoCaseCase{"Ａ", "A", 1},           // but never to half-width
                      NoCaseCase{"É", "é", -1},           // accented letters do not fold
                      NoCaseCase{"Ω", "ω", -1},           // nor Greek
                      NoCaseCase{"ア", "ｱ", -1},          // nor katakana widths
                      NoCaseCase{"a", "B", -1}, NoCaseCase{"_", "a", -1},  // folding to small
                      NoCaseCase{"abc", "ab", 1}, NoCaseCase{"", "", 0},
                      NoCaseCase{"文書A", "文書a", 0}, NoCaseCase{"あ", "ア", -1}));

TEST(FoldCase, OnlyLettersChange) {
    EXPECT_EQ(FoldCase("Path\\To/ＦＩＬＥ.TXT ＠［"), "path\\to/ｆｉｌｅ.txt ＠［");
}

TEST(ParseLeadingInt, ReadsLikeAtoi) {
    EXPECT_EQ(ParseLeadingInt("150"), 150);
    EXPECT_EQ(ParseLeadingInt(" 150px"), 150);
    EXPECT_EQ(ParseLeadingInt("\t-20"), -20);
    EXPECT_EQ(ParseLeadingInt("+7"), 7);
    EXPECT_EQ(ParseLeadingInt("abc"), 0);
    EXPECT_EQ(ParseLeadingInt(""), 0);
    EXPECT_EQ(ParseLeadingInt("- 5"), 0);
    EXPECT_EQ(ParseLeadingInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseLeadingInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(DisplayOrder, FollowsTheCp932BytesOfTheFoldedText) {
    std::string twin, rawFF;
    DecodeCp932("\xEE\xE0", twin);  // 髙 by its twin code: sorts by its own bytes
    DecodeCp932("\xFF", rawFF);
    // Ascending; neighbours differ.
    const std::string ascending[] = {
        "_",   "a", "B", "ａ", "書類", "売上集計", "文書", "報告書の表紙", "ｱﾝｹｰﾄ", twin, "髙",
        rawFF,  // the last byte there is
        "é",    // code page 932 cannot hold it: after everything, by code point
        "😀"};
    for (std::size_t i = 1; i < std::size(ascending); ++i)
        EXPECT_LT(DisplayOrderKey(ascending[i - 1]), DisplayOrderKey(ascending[i]))
            << ascending[i - 1] << " < " << ascending[i];
    EXPECT_EQ(DisplayOrderKey("Report Ａ"), DisplayOrderKey("report ａ"));
}

}  // namespace
}  // namespace kantoria

namespace kantoria {
namespace {

// Long texts are hashed in pieces; equal texts must hash alike wherever a full-width capital
// falls against a piece boundary.
TEST(HashNoCase, AgreesWithEqualityAcrossLengths) {
    for (size_t pad = 240; pad < 270; ++pad) {
        const std::string a = std::string(pad, 'x') + "ＡＢ" + std::string(pad, 'Y');
        const std::string b = std::string(pad, 'X') + "ａｂ" + std::string(pad, 'y');
        ASSERT_TRUE(EqualsNoCase(a, b));
        ASSERT_EQ(HashNoCase(a), HashNoCase(b)) << pad;
        ASSERT_NE(HashNoCase(a), HashNoCase(a + "z"));
    }
}

}  // namespace
}  // namespace kantoria
