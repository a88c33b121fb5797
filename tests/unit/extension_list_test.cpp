#include "core/search/extension_list.h"

#include <gtest/gtest.h>

#include "testing/core/file_types_memory.h"

namespace kantoria {
namespace {

using Strings = std::vector<std::string>;

TEST(FormatExtensionLine, PadsTheExtensionToFiveCharacters) {
    EXPECT_EQ(FormatExtensionLine(".txt", "Text"), ".txt  Text");
    EXPECT_EQ(FormatExtensionLine(".c", "C"), ".c    C");
    EXPECT_EQ(FormatExtensionLine(".html", "Web"), ".html Web");
    EXPECT_EQ(FormatExtensionLine(".class", "Java"), ".class Java");
    EXPECT_EQ(FormatExtensionLine("", ""), "      ");
    // Characters, not bytes: full-width letters take three bytes each.
    EXPECT_EQ(FormatExtensionLine(".ｔｘ", "全角"), ".ｔｘ   全角");
    EXPECT_EQ(FormatExtensionLine(".ｔｘｔｘ", "x"), ".ｔｘｔｘ x");
}

struct FindCase {
    Strings lines;
    std::optional<std::size_t> found;
};
void PrintTo(const FindCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.lines);
}

class FindDoc : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindDoc, SearchesAfterTheFirstLineAndWraps) {
    EXPECT_EQ(FindLineStartingWith(GetParam().lines, 0, ".doc"), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindDoc,
    ::testing::Values(FindCase{{".doc  A", ".txt  B"}, 0},  // the first line comes last
                      FindCase{{".doc  A", ".DOC  B"}, 1},  // ... so a later match wins
                      FindCase{{".bmp  X", ".Doc  Y", ".doc  Z"}, 1},
                      FindCase{{".bmp  X", ".docx Y"}, 1},  // a prefix is enough
                      FindCase{{".txt  X", ".do   Y"}, std::nullopt},
                      FindCase{{".doc  A"}, 0},  // one line: it is examined
                      FindCase{{}, std::nullopt}));

TEST(FillExtensionList, SortedLinesForTypesWithADescription) {
    MemoryFileTypes types;
    ASSERT_TRUE(types.LoadTable(KANTORIA_TEST_DATA "/file_types.txt").ok());
    const ExtensionBox box = FillExtensionList(types);
    // .noclass and .emptyclass name no type, .lost names a missing one and .mute's type has
    // no description; .blank's description is empty but present.
    EXPECT_EQ(box.lines, (Strings{
                             ".abcdefghijklmn Long extension",
                             ".abcdefghijklmno Long extension",
                             ".blank ",
                             ".bmp  ビットマップ イメージ",
                             ".cfg  Configuration",
                             ".deep Deep icon path",
                             ".Doc  Microsoft Word 97 - 2003 文書",
                             ".DOCX Microsoft Word 文書",
                             ".html HTML Document",
                             ".ini  構成設定",
                             ".jpg  JPEG イメージ",
                             ".log  テキスト ドキュメント",
                             ".txt  テキスト ドキュメント",
                         }));
    EXPECT_EQ(box.selected, 6u);
    EXPECT_EQ(ExtensionOfLine(box.lines[*box.selected]), ".Doc");
}

TEST(FillExtensionList, NothingSelectedWithoutADocLine) {
    MemoryFileTypes types;
    ASSERT_TRUE(types
                    .AddTable("ext\t.txt\tT\ntype\tT\tText\n"
                              "ext\t.doc\tD\ntype\tD\n")
                    .ok());  // .doc without description
    const ExtensionBox box = FillExtensionList(types);
    EXPECT_EQ(box.lines, Strings{".txt  Text"});
    EXPECT_EQ(box.selected, std::nullopt);
}

TEST(ExtensionOfBoxText, ALineOrATypedExtension) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {".Doc  Microsoft Word 文書", ".Doc"},
        {".zzz", ".zzz"},
        {"zzz", ".zzz"},
        {"*.zzz", ".zzz"},
        {" \t.zzz  ", ".zzz"},
        {".ｔｘｔ", ".ｔｘｔ"},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {".", std::nullopt},
        {"*", std::nullopt},
        {"*.*", std::nullopt},
        {".tar.gz", std::nullopt},
        {"a/b", std::nullopt},
    };
    for (const auto& [text, extension] : cases)
        EXPECT_EQ(ExtensionOfBoxText(text), extension) << text;
}

}  // namespace
}  // namespace kantoria
