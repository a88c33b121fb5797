#include "core/text/text_codec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kantoria {
namespace {

std::string FromCp932(std::string_view bytes) {
    std::string out;
    DecodeCp932(bytes, out);
    return out;
}

std::string ToCp932(std::string_view text) {
    std::string out;
    EXPECT_TRUE(EncodeCp932(text, out)) << text;
    return out;
}

struct CodecCase {
    const char* bytes;
    const char* text;
};
void PrintTo(const CodecCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.text);
}

class Cp932Table : public ::testing::TestWithParam<CodecCase> {};

TEST_P(Cp932Table, DecodesAndEncodesLikeWindows) {
    EXPECT_EQ(FromCp932(GetParam().bytes), GetParam().text);
    EXPECT_EQ(ToCp932(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Cp932Table,
    ::testing::Values(CodecCase{"abc\\~", "abc\\~"},  // ASCII stays ASCII, yen sign too
                      CodecCase{"\x87\x40", "①"},     // NEC row 13
                      CodecCase{"\xFB\xFC", "髙"},    // IBM extension
                      CodecCase{"\xFA\xB1", "﨑"},    // IBM extension
                      CodecCase{"\x95\x5C", "表"},    // second byte is '\'
                      CodecCase{"\x83\x5C", "ソ"}, CodecCase{"\x94\x5C", "能"},
                      CodecCase{"\x8F\x5C", "十"},
                      CodecCase{"\x95\x7C", "怖"},  // second byte is '|'
                      CodecCase{"\xB1\xDD", "ｱﾝ"},  // half-width katakana
                      CodecCase{"\x81\xE6", "∵"},   // JIS form of a duplicated sign
                      CodecCase{"\x87\x54", "Ⅰ"}, CodecCase{"\xFA\x40", "ⅰ"},
                      CodecCase{"\xF0\x40", "\xEE\x80\x80"}));  // user-defined area -> PUA

TEST(Cp932, TwinCodesShowAsWindowsDecodesThemAndKeepTheirBytes) {
    struct Case {
        const char* bytes;
        const char* shown;
        const char* typedBack;  // how the shown character is written when the user types it
    };
    const Case cases[] = {
        {"\xED\x40", "纊", "\xFA\x5C"},             // NEC-selected IBM extension
        {"\xEE\xE0", "髙", "\xFB\xFC"},             // as Python and Java write it
        {"\x87\x90", "≒", "\x81\xE0"},              // NEC row 13
        {"\xFA\x4A", "Ⅰ", "\x87\x54"},              // IBM extension
        {"\xEE\xF9", "￢", "\x81\xCA"},             // NEC-selected, a sign
        {"a\xEE\xEF\\z", "aⅰ\\z", "a\xFA\x40\\z"},  // among other text
        {"\x80", "\u0080", "\x80"},                 // the five single bytes as Windows reads them
        {"\xA0", "\uF8F0", "\xA0"},
        {"\xFD\xFE\xFF", "\uF8F1\uF8F2\uF8F3", "\xFD\xFE\xFF"},
        {"\x85\x5C", "\uFFFD\uFFFD", nullptr},  // unassigned: no character
        {"\xED", "\uFFFD", nullptr},            // a lone lead byte
    };
    for (const Case& c : cases) {
        const std::string text = FromCp932(c.bytes);
        EXPECT_EQ(ToDisplayText(text, Encoding::Cp932), c.shown) << c.bytes;
        EXPECT_EQ(ToCp932(text), c.bytes);  // the stored text keeps the code
        if (c.typedBack) {
            EXPECT_EQ(ToCp932(c.shown), c.typedBack);
        }
        // Other encodings read such bytes as malformed, never as code page 932.
        EXPECT_EQ(ToDisplayText(text, Encoding::Utf8), ToDisplayText(text));
    }
    // Exactly the 398 codes whose character has another code show a character.
    int twins = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string text = FromCp932(bytes);
            const std::string shown = ToDisplayText(text, Encoding::Cp932);
            if (shown == text || shown.find("\uFFFD") != std::string::npos) continue;
            ++twins;
            std::string canonical;
            EXPECT_TRUE(EncodeCp932(shown, canonical));
            EXPECT_NE(canonical, bytes);
        }
    }
    EXPECT_EQ(twins, 398);
}

TEST(Cp932, SecondByteBackslashIsNeverSplit) {
    // A path of such characters keeps exactly the separators it has.
    const std::string text = FromCp932("C:\\\x95\x5C\\\x83\x5C\x83\x74\x83\x67.txt");
    EXPECT_EQ(text, "C:\\表\\ソフト.txt");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\\'), 2);
}

TEST(Cp932, DuplicateFormsAndUndecodableBytesRoundTrip) {
    // Duplicate forms (NEC-selected, IBM against JIS), unassigned codes, lone lead bytes,
    // bytes that code page 932 never uses, a lead byte before a line end.
    const char* samples[] = {"\x87\x9A",
                             "\xED\x40",
                             "\xEE\xEF",
                             "\xFA\x54",
                             "\x85\x5C",
                             "\x80\xA0\xFD",
                             "\xFE\xFF",
                             "\x81",
                             "\x81\n",
                             "\x81\t\x82",
                             "a\x82\x7F"
                             "b",
                             "\xEF\xBB\xBF"};
    for (std::string_view bytes : samples) {
        const std::string text = FromCp932(bytes);
        std::string back;
        EXPECT_TRUE(EncodeCp932(text, back));
        EXPECT_EQ(back, bytes);
        // What could not be decoded never looks like a separator or a line break.
        if (bytes == "\x85\x5C") {
            EXPECT_EQ(text.find('\\'), std::string::npos);
        }
        if (bytes == "\x81\n") {
            EXPECT_EQ(text.back(), '\n');
        }
    }
}

TEST(Cp932, RandomBytesRoundTrip) {
    std::mt19937 rng(932);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(rng() % 40, '\0');
        for (char& c : bytes) c = static_cast<char>(rng() % 256);
        std::string back;
        ASSERT_TRUE(EncodeCp932(FromCp932(bytes), back));
        ASSERT_EQ(back, bytes);
    }
}

TEST(Cp932, TextWithoutCp932FormIsRefused) {
    std::string out;
    EXPECT_FALSE(EncodeCp932("café", out));
    out.clear();
    EXPECT_FALSE(EncodeCp932("😀", out));
}

TEST(Utf8, MalformedBytesRoundTripAndShowAsReplacement) {
    const std::string bytes = "ok \xFF \xC3 \xED\xA0\x80 \xC3\xA9";
    std::string text;
    DecodeUtf8(bytes, text);
    std::string back;
    EncodeUtf8(text, back);
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(ToDisplayText(text), "ok \uFFFD \uFFFD \uFFFD\uFFFD\uFFFD é");
}

TEST(Utf8, Validation) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("日本語 😀"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE3\x81"));          // cut short
    EXPECT_FALSE(IsValidUtf8("\x95\x5C"));          // Shift-JIS
}

// Windows names are UTF-16: their malformed form, a lone surrogate, is in win32_files_test.
#ifndef _WIN32
TEST(SystemNames, MalformedNamesRoundTrip) {
    const std::string name = "/tmp/\xFF\xFEname-日本";
    EXPECT_EQ(ToSystemName(FromSystemName(name)), name);
}
#endif

}  // namespace
}  // namespace kantoria
