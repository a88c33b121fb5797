#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/find_fold.h"
#include "core/views/preview_text.h"

namespace kantoria {
namespace {

using Strings = std::vector<std::string>;

// The pieces of text that the find words mark.
Strings Marked(const std::string& text, const std::string& find) {
    Strings pieces;
    for (const TextRange& range : FoldedText(text).Ranges(FindWords(find)))
        pieces.push_back(text.substr(range.begin, range.end - range.begin));
    return pieces;
}

// A word is marked wherever the list's find would see it, and the mark covers the text's own
// characters, whatever their width, case or kana.
TEST(PreviewMarks, CoverTheTextsOwnSpellingOfEachWord) {
    const struct {
        const char* text;
        const char* find;
        Strings marked;
    } cases[] = {
        {"Annual REPORT, report", "report", {"REPORT", "report"}},
        {"ＲＥＰＯＲＴ ２０２４年", "report 2024", {"ＲＥＰＯＲＴ", "２０２４"}},
        {"ｶﾞｲﾄﾞ と がいど", "ガイド", {"ｶﾞｲﾄﾞ", "がいど"}},        // half-width with sound marks
        {"か\u3099いと\u3099", "ガイド", {"か\u3099いと\u3099"}},  // decomposed
        {"ｶﾞ", "カ", {}},                                          // ガ is not カ
        {"見積書の見積", "見積 積書", {"見積書", "見積"}},         // overlapping words join
        {"abc", "", {}},
        {"aaaa", "aa", {"aaaa"}},  // touching hits join
    };
    for (const auto& c : cases) EXPECT_EQ(Marked(c.text, c.find), c.marked) << c.text;
}

TEST(PreviewMarks, StopAtTheLimit) {
    EXPECT_EQ(FoldedText(std::string(100, 'x')).Ranges({"x"}, 3), (std::vector<TextRange>{{0, 3}}));
    EXPECT_EQ(FoldedText(std::string(10, ' ') + "x y x").Ranges({"x", "y"}, 2).size(), 2u);
}

TEST(PreviewText, LineEndsAndLengthAsShown) {
    EXPECT_EQ(PreviewShownText("a\r\nb\rc\n"), "a\nb\nc\n");
    // Cut at a character boundary, and marked.
    EXPECT_EQ(PreviewShownText("ab漢字", 4), "ab\n…");
    EXPECT_EQ(PreviewShownText("ab漢字", 8), "ab漢字");
}

TEST(PreviewKind, ByExtensionCaseAside) {
    const Strings images = {"png", "jpg"};
    const std::pair<const char*, PreviewKind> cases[] = {
        {"/d/報告.PDF", PreviewKind::Pdf}, {"/d/a.Png", PreviewKind::Image},
        {"/d/a.docx", PreviewKind::Text},  {"/d.pdf/readme", PreviewKind::Text},
        {"/d/.png", PreviewKind::Text},    {"/d/noext", PreviewKind::Text},
    };
    for (const auto& [path, kind] : cases) EXPECT_EQ(PreviewKindOf(path, images), kind) << path;
}

}  // namespace
}  // namespace kantoria
