#include "core/text/entered_text.h"

#include <gtest/gtest.h>

namespace kantoria {
namespace {

TEST(EnteredText, Cp932CataloguesStoreTheCp932SpellingOthersKeepWhatWasTyped) {
    std::string escaped;
    DecodeCp932("\x85\x5C", escaped);
    const std::pair<std::string, std::string> cases[] = {
        {"〜−‖—¢£¬", "～－∥―￠￡￢"},
        {"10〜20 ¢5", "10～20 ￠5"},
        {"～ already", "～ already"},
        {escaped + "〜", escaped + "～"},  // bytes kept as they are stay so
    };
    for (const auto& [typed, cp932] : cases) {
        EXPECT_EQ(EnteredText(typed, Encoding::Cp932), cp932);
        std::string bytes;
        EXPECT_TRUE(EncodeCp932(cp932, bytes)) << cp932;
        EXPECT_EQ(EnteredText(typed, Encoding::Utf8), typed);
        EXPECT_EQ(EnteredText(typed, Encoding::Utf8Bom), typed);
    }
}

TEST(TextFromScreen, TheShownTextHandedBackKeepsTheStoredBytes) {
    std::string twin, unassigned, lone;
    DecodeCp932("\xEE\xE0", twin);  // shows as 髙
    DecodeCp932("\x85\x5C", unassigned);
    DecodeCp932("\x81", lone);
    struct Case {
        std::string shown, stored, kept;
        Encoding enc;
    };
    const Case cases[] = {
        {"髙", twin, twin, Encoding::Cp932},
        {"髙木", twin + "木", twin + "木", Encoding::Cp932},
        // Edited: the unchanged start and end keep their bytes, the middle is what was typed.
        {"髙木さん", twin + "木", twin + "木さん", Encoding::Cp932},
        {"\uFFFD\uFFFD x", unassigned, unassigned + " x", Encoding::Cp932},
        {"x \uFFFD\uFFFD", unassigned, "x " + unassigned, Encoding::Cp932},
        {"a\uFFFDb〜\uFFFD", "a" + lone + "c" + lone, "a" + lone + "b～" + lone, Encoding::Cp932},
        {"ab", "a" + lone + "b", "ab", Encoding::Cp932},
        {"\uFFFD", unassigned, unassigned.substr(0, 3), Encoding::Cp932},  // half deleted
        {"新しい", twin + "木", "新しい", Encoding::Cp932},
        {"\uFFFDz", "\xED\xB3\xBF", "\xED\xB3\xBFz", Encoding::Utf8},
        {"\uFFFD\uFFFD", unassigned, unassigned, Encoding::Cp932},
        {twin, twin, twin, Encoding::Cp932},  // handed back as stored
        {"a〜b", "x", "a～b", Encoding::Cp932},
        {"a〜b", "x", "a〜b", Encoding::Utf8},
        {"\uFFFD\uFFFD", twin, twin, Encoding::Utf8},
    };
    for (const Case& c : cases) EXPECT_EQ(TextFromScreen(c.shown, c.stored, c.enc), c.kept);
}

}  // namespace
}  // namespace kantoria
