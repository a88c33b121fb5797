// The Linux file types against the machine's own shared MIME database. The tests run with
// LANG=ja_JP.UTF-8 and LANGUAGE=ja, and with XDG folders from tests/data/xdg that make a
// test viewer (the program cat) the default application for plain text (see the main).
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/icons/icon_source.h"
#include "core/os/environment.h"
#include "core/search/extension_list.h"
#include "platform/freedesktop/default_application.h"
#include "platform/system_file_types.h"
#include "testing/core/test_files.h"

namespace kantoria {
namespace {

TEST(FreedesktopFileTypes, ExtensionsAreSimpleSuffixesOfTheirTypes) {
    const auto types = MakeSystemFileTypes();
    const std::vector<ExtensionType> list = types->Extensions();
    std::set<std::string> seen;
    bool txt = false, doc = false;
    for (const ExtensionType& e : list) {
        EXPECT_TRUE(seen.insert(e.extension).second) << "twice: " << e.extension;
        ASSERT_GE(e.extension.size(), 2u);
        EXPECT_EQ(e.extension[0], '.');
        EXPECT_EQ(e.extension.find_first_of(".*?[]", 1), std::string::npos) << e.extension;
        EXPECT_EQ(types->TypeNameOf(e.extension).value_or(""), e.typeName) << e.extension;
        txt = txt || (e.extension == ".txt" && e.typeName == "text/plain");
        doc = doc || (e.extension == ".doc" && e.typeName == "application/msword");
    }
    EXPECT_TRUE(txt);
    EXPECT_TRUE(doc);
}

TEST(FreedesktopFileTypes, LooksUpKeysLikeFileNames) {
    const auto types = MakeSystemFileTypes();
    EXPECT_EQ(types->TypeNameOf(".txt"), "text/plain");
    EXPECT_EQ(types->TypeNameOf(".TXT"), "text/plain");  // the pattern ignores case
    // Patterns that mind case keep their types apart.
    EXPECT_EQ(types->TypeNameOf(".C"), "text/x-c++src");
    EXPECT_EQ(types->TypeNameOf(".c"), "text/x-csrc");
    for (const char* key :
         {".kantoria-no-such-type", "/home/u/README", ".2\\README", ".2/x.txt", ".", ""})
        EXPECT_EQ(types->TypeNameOf(key), std::nullopt) << key;
    EXPECT_EQ(types->DefaultIcon("text/plain"), "text-plain");
    EXPECT_EQ(types->DefaultIcon("no/such-type"), std::nullopt);
    EXPECT_EQ(types->Description("no/such-type"), std::nullopt);
}

TEST(FreedesktopFileTypes, DescriptionsFollowTheUsersLanguage) {
    const auto types = MakeSystemFileTypes();
    const std::string description = types->Description("text/plain").value_or("");
    EXPECT_NE(description.find("テキスト"), std::string::npos) << description;
    const ExtensionBox box = FillExtensionList(*types);
    ASSERT_TRUE(box.selected.has_value());
    EXPECT_EQ(box.lines[*box.selected].rfind(".doc  ", 0), 0u) << box.lines[*box.selected];
}

TEST(FreedesktopFileTypes, TheProgramOfAnExistingFileComesFromTheDefaultApplication) {
    test::TempFolder dir;
    test::WriteBytes(dir / "note.txt", "x");
    test::WriteBytes(dir / "data.kantoria-no-such-type", "x");
    const auto types = MakeSystemFileTypes();
    const std::string program = types->AssociatedProgram(dir / "note.txt");
    EXPECT_EQ(std::filesystem::path(program).filename(), "cat") << program;
    EXPECT_TRUE(std::filesystem::path(program).is_absolute()) << program;
    EXPECT_EQ(types->AssociatedProgram(dir / "missing.txt"), "");
    EXPECT_EQ(types->AssociatedProgram(dir / "data.kantoria-no-such-type"), "");
    EXPECT_EQ(types->AssociatedProgram(dir / "note.txt"), program);  // remembered

    IconSource source;
    source.path = dir / "note.txt";
    ASSERT_TRUE(FindDefaultIcon(source, *types, ProcessEnvironment()));
    EXPECT_EQ(source.iconFile, "text-plain");
    EXPECT_EQ(source.iconIndex, 0);
    EXPECT_EQ(source.program, program);

    // The program's own picture is the one its desktop entry names.
    EXPECT_EQ(ApplicationIconName(program), "kantoria-test-viewer");
    EXPECT_EQ(ApplicationIconName("/no/such/program"), "");
}

}  // namespace
}  // namespace kantoria
