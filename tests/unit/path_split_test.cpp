#include "core/text/path_split.h"

#include <gtest/gtest.h>

namespace kantoria {
namespace {

struct SplitCase {
    const char* path;
    const char* drive;
    const char* directory;
    const char* name;
    const char* extension;
};
void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.path);
}

class SplitPathTable : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPathTable, SplitsLikeTheRuntime) {
    const auto& c = GetParam();
    const PathParts p = SplitPath(c.path);
    EXPECT_EQ(p.drive, c.drive);
    EXPECT_EQ(p.directory, c.directory);
    EXPECT_EQ(p.name, c.name);
    EXPECT_EQ(p.extension, c.extension);
    EXPECT_EQ(FolderOf(c.path), std::string(c.drive) + c.directory);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitPathTable,
    ::testing::Values(SplitCase{"C:\\Docs\\a.b.doc", "C:", "\\Docs\\", "a.b", ".doc"},
                      SplitCase{"D:\\x\\.profile", "D:", "\\x\\", "", ".profile"},
                      SplitCase{"/home/u/report", "", "/home/u/", "report", ""},
                      SplitCase{"plan", "", "", "plan", ""}, SplitCase{"", "", "", "", ""},
                      SplitCase{"C:", "C:", "", "", ""},
                      SplitCase{"C:a.txt", "C:", "", "a", ".txt"},
                      SplitCase{"C:\\", "C:", "\\", "", ""},
                      SplitCase{"/a.d/file", "", "/a.d/", "file", ""},  // dot in a folder
                      SplitCase{"C:/mixed\\seps/f.TXT", "C:", "/mixed\\seps/", "f", ".TXT"},
                      SplitCase{"/", "", "/", "", ""},
                      SplitCase{"C:\\表\\ソフト.txt", "C:", "\\表\\", "ソフト", ".txt"},
                      SplitCase{"\\\\server\\share\\f.x", "", "\\\\server\\share\\", "f", ".x"},
                      SplitCase{"name.", "", "", "name", "."},
                      // In a "/" path a backslash is part of a name; it has no drive.
                      SplitCase{"/home/u/a\\b.txt", "", "/home/u/", "a\\b", ".txt"},
                      SplitCase{"/x\\y/f", "", "/x\\y/", "f", ""},
                      SplitCase{"/a\\", "", "/", "a\\", ""},
                      SplitCase{"/:b.txt", "", "/", ":b", ".txt"},
                      SplitCase{"C:/x\\y.doc", "C:", "/x\\", "y", ".doc"}));

}  // namespace
}  // namespace kantoria
