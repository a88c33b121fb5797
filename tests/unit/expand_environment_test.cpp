#include "core/text/expand_environment.h"

#include <gtest/gtest.h>

#include "testing/core/icon_fakes.h"

namespace kantoria {
namespace {

struct ExpandCase {
    const char* text;
    const char* expanded;
};
void PrintTo(const ExpandCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.text);
}

class Expand : public ::testing::TestWithParam<ExpandCase> {};

TEST_P(Expand, ReplacesPairsByTheirValues) {
    const test::MapEnvironment env({{"SystemRoot", "C:\\Windows"},
                                    {"A", "1"},
                                    {"LONG", "C:\\Program Files\\Common"},
                                    {"EMPTY", ""},
                                    {"PCT", "%A%"},
                                    {"ホーム", "C:\\ユーザー"}});
    EXPECT_EQ(
        ExpandEnvironment(GetParam().text, [&env](std::string_view name) { return env.Get(name); }),
        GetParam().expanded)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Expand,
    ::testing::Values(
        ExpandCase{"%SystemRoot%\\system32\\shell32.dll", "C:\\Windows\\system32\\shell32.dll"},
        ExpandCase{"%UNSET%\\shell32.dll", "\\shell32.dll"},  // an unset variable is removed
        ExpandCase{"%EMPTY%x", "x"}, ExpandCase{"C:\\plain.ico", "C:\\plain.ico"},
        ExpandCase{"", ""},
        // A '%' without a partner stays.
        ExpandCase{"50%", "50%"}, ExpandCase{"%A", "%A"}, ExpandCase{"a%A%b%", "a1b%"},
        ExpandCase{"%1", "%1"},
        // Each pair in turn, whatever the length of the value before it.
        ExpandCase{"%LONG%%A%", "C:\\Program Files\\Common1"}, ExpandCase{"%EMPTY%%A%", "1"},
        ExpandCase{"%A%x%A%", "1x1"}, ExpandCase{"%ホーム%\\%A%", "C:\\ユーザー\\1"},
        // An empty name is never set.
        ExpandCase{"100%%", "100"},
        // A value is not expanded again, wherever it was inserted.
        ExpandCase{"%PCT%", "%A%"}, ExpandCase{"%PCT%-%PCT%", "%A%-%A%"},
        ExpandCase{"%PCT%%A%", "%A%1"},
        // Every later %A% goes with the first pair, even one the pairing would not meet; the
        // '%' left before the inserted value then has no partner.
        ExpandCase{"x%A%%B%A%", "x1%B1"}));

}  // namespace
}  // namespace kantoria
