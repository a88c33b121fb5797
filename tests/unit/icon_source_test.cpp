#include "core/icons/icon_source.h"

#include <gtest/gtest.h>

#include "testing/core/file_types_memory.h"
#include "testing/core/icon_fakes.h"

namespace kantoria {
namespace {

const test::MapEnvironment kEnv({{"SystemRoot", "C:\\Windows"}, {"Q", "\"C:\\q\""}});

struct IconValueCase {
    std::string value;
    std::string file;
    int index;
};
void PrintTo(const IconValueCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.value);
}

class IconValue : public ::testing::TestWithParam<IconValueCase> {};

TEST_P(IconValue, SplitsIntoFileAndIndex) {
    const IconValueCase& c = GetParam();
    MemoryFileTypes types;
    types.AddExtension(".t", "T");
    types.SetDefaultIcon("T", c.value);
    types.SetProgram(".t", "C:\\prog.exe");
    IconSource source;
    source.path = "C:\\Docs\\a.t";
    ASSERT_TRUE(FindDefaultIcon(source, types, kEnv)) << c.value;
    EXPECT_EQ(source.iconFile, c.file) << c.value;
    EXPECT_EQ(source.iconIndex, c.index) << c.value;
    EXPECT_EQ(source.program, "C:\\prog.exe");
}

INSTANTIATE_TEST_SUITE_P(
    Table, IconValue,
    ::testing::Values(
        IconValueCase{"C:\\Icons\\set.dll,3", "C:\\Icons\\set.dll", 3},
        IconValueCase{"\"C:\\Program Files\\x.exe\",1", "C:\\Program Files\\x.exe", 1},
        IconValueCase{"C:\\Icons\\set.dll,-153", "C:\\Icons\\set.dll", -153},
        IconValueCase{"C:\\Icons\\page.ico", "C:\\Icons\\page.ico", 0},
        IconValueCase{"%SystemRoot%\\system32\\shell32.dll,4", "C:\\Windows\\system32\\shell32.dll",
                      4},
        IconValueCase{"%UNSET%\\shell32.dll,4", "\\shell32.dll", 4},
        // Quotes are removed after expansion, also those a value brought in.
        IconValueCase{"%Q%\\a.ico", "C:\\q\\a.ico", 0},
        // The index is read as atoi reads it, after the first comma only.
        IconValueCase{"C:\\a.dll, 7", "C:\\a.dll", 7}, IconValueCase{"C:\\a.dll,x", "C:\\a.dll", 0},
        IconValueCase{"C:\\a.dll,2,5", "C:\\a.dll", 2}, IconValueCase{"12", "12", 12},
        IconValueCase{"", "", 0},
        // Values up to the registry's 512-byte buffer are read.
        IconValueCase{std::string(509, 'i') + ",9", "", 9},
        // An icon file longer than a Windows path is unusable, not cut to another name.
        IconValueCase{std::string(259, 'f') + ",1", std::string(259, 'f'), 1},
        IconValueCase{std::string(260, 'f') + ",1", "", 1},
        // The bound applies to the file as expanded and unquoted.
        IconValueCase{"%SystemRoot%" + std::string(250, 'f'), "", 0},
        IconValueCase{"\"%UNSET%" + std::string(255, 'f') + "\"", std::string(255, 'f'), 0}));

TEST(FindDefaultIcon, TakesTheTypeKeyFromTheLastDotOfThePath) {
    MemoryFileTypes types;
    types.AddExtension(".txt", "T");
    types.AddExtension("C:\\Docs\\README", "T");
    types.SetDefaultIcon("T", "x.ico");
    for (const auto& [path, found] : std::vector<std::pair<std::string, bool>>{
             {"C:\\Docs\\a.TXT", true},      // keys are found without regard to case
             {"C:\\Docs\\README", true},     // no dot: the whole path is the key
             {"C:\\v1.txt\\README", false},  // the key is ".txt\README"
             {"C:\\Docs\\a.txt.bak", false}}) {
        IconSource source;
        source.path = path;
        EXPECT_EQ(FindDefaultIcon(source, types, kEnv), found) << path;
    }
}

TEST(FindDefaultIcon, FailsWithoutTouchingTheFieldsWhenAStepIsMissing) {
    MemoryFileTypes types;
    ASSERT_TRUE(
        types.AddTable("ext\t.noclass\n"
                       "ext\t.empty\t\n"
                       "ext\t.lost\tNoSuchType\n"
                       "ext\t.noicon\tNoIcon\n"
                       "type\tNoIcon\tNo icon\n"
                       "ext\t.long\t" +
                       std::string(512, 'L') +
                       "\n"
                       "icon\t" +
                       std::string(512, 'L') +
                       "\tx.ico\n"
                       "ext\t.longicon\tLongIcon\n"
                       "icon\tLongIcon\t" +
                       std::string(512, 'i') +
                       "\n"
                       "program\t.noicon\tC:\\prog.exe\n"));
    for (const char* path : {"C:\\a.unknown", "C:\\a.noclass", "C:\\a.empty", "C:\\a.lost",
                             "C:\\a.noicon", "C:\\a.long", "C:\\a.longicon"}) {
        IconSource source;
        source.path = path;
        source.iconFile = "untouched";
        source.iconIndex = 42;
        source.program = "untouched";
        EXPECT_FALSE(FindDefaultIcon(source, types, kEnv)) << path;
        EXPECT_EQ(source.iconFile, "untouched") << path;
        EXPECT_EQ(source.iconIndex, 42) << path;
        EXPECT_EQ(source.program, "untouched") << path;
    }
}

TEST(FindDefaultIcon, KeepsOnlyAProgramThatFitsAWindowsPath) {
    MemoryFileTypes types;
    types.AddExtension(".t", "T");
    types.SetDefaultIcon("T", "x.ico");
    IconSource source;
    source.path = "C:\\a.t";
    ASSERT_TRUE(FindDefaultIcon(source, types, kEnv));
    EXPECT_EQ(source.program, "");  // none associated
    types.SetProgram(".t", std::string(259, 'p'));
    ASSERT_TRUE(FindDefaultIcon(source, types, kEnv));
    EXPECT_EQ(source.program, std::string(259, 'p'));
    types.SetProgram(".t", std::string(260, 'p'));
    ASSERT_TRUE(FindDefaultIcon(source, types, kEnv));
    EXPECT_EQ(source.program, "");
}

}  // namespace
}  // namespace kantoria
