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
    std::string twin, unassigned;
    DecodeCp932("\xEE\xE0", twin);  // shows as 髙
    DecodeCp932("\x85\x5C", unassigned);
    struct Case {
        std::string shown, stored, kept;
        Encoding enc;
    };
    const Case cases[] = {
        {"髙", twin, twin, Encoding::Cp932},
        {"髙木", twin + "木", twin + "木", Encoding::Cp932},
        {"髙木さん", twin + "木", "髙木さん", Encoding::Cp932},  // edited: typed text
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
