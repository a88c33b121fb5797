#include "core/content/word_rule.h"

#include <gtest/gtest.h>

#include "core/text/find_fold.h"

namespace kantoria {
namespace {

struct WordCase {
    const char* text;
    const char* word;  // as typed; folded by the test
    bool typing;
    bool found;
};

class WordRule : public testing::TestWithParam<WordCase> {};

TEST_P(WordRule, FindsAWordOnlyWhereTheRuleSays) {
    const WordCase& c = GetParam();
    const std::string text = FoldForFind(c.text);
    EXPECT_EQ(FindWordInText(text, FoldForFind(c.word), c.typing) != std::string::npos, c.found)
        << c.text << " / " << c.word;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WordRule,
    testing::Values(
        // A marker mixing CJK and digits finds itself, not its longer neighbour.
        WordCase{"識別PDF０００２３番 と 識別PDF０００２番", "識別PDF０００２番", false, true},
        WordCase{"識別PDF０００２３番", "識別PDF０００２番", false, false},
        WordCase{"識別pdf0002番", "識別PDF０００２番", false, true},  // width and case
        // A run of CJK characters matches wherever it stands, kana folded.
        WordCase{"東京都庁のしりょう", "都庁", false, true},
        WordCase{"東京都庁のしりょう", "シリョウ", false, true},
        // A word of letters and digits is a whole word, or a beginning while typed.
        WordCase{"report2024 final", "repo", true, true},
        WordCase{"report2024 final", "repo", false, false},
        WordCase{"report2024 final", "report2024", false, true},
        WordCase{"xreport2024", "report", true, false},
        WordCase{"(報告)report", "report", false, true},
        WordCase{"café crème", "caf", false, false}, WordCase{"café crème", "café", false, true},
        WordCase{"番号pdf", "号pdf", false, true}, WordCase{"", "a", true, false}));

TEST(Snippet, ShowsTheWordInTheDocumentsOwnSpellingOnOneLine) {
    const std::string text = "前置き\nＡＢＣの資料です。" + std::string(100, 'x');
    const std::string folded = FoldForFind(text);
    const std::string word = FoldForFind("abcの資料");
    const std::size_t at = FindWordInText(folded, word, false);
    ASSERT_NE(at, std::string::npos);
    const std::size_t from = UnfoldedOffset(text, at);
    const std::size_t to = UnfoldedOffset(text, at + word.size());
    EXPECT_EQ(text.substr(from, to - from), "ＡＢＣの資料");
    EXPECT_EQ(SnippetAround(text, from, to - from, 3), "…置き ＡＢＣの資料です。…");
}

}  // namespace
}  // namespace kantoria
