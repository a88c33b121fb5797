#include "platform/desktop_shell.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_files.h"

namespace kantoria {
namespace {

// Only failures are tried here: a success would start the desktop's file manager.
TEST(DesktopShell, RefusesWhatItCannotOpenAndSaysWhy) {
    test::TempFolder dir;
    test::WriteBytes(dir / "file.txt", "x");
    const std::unique_ptr<DesktopShell> shell = CreateDesktopShell();
    const ShellResult results[] = {
        shell->OpenFolder(dir / "missing"),
        shell->OpenFolder(dir / "file.txt"),  // a file is no folder
        shell->OpenFolder("C:\\Docs\\"),      // a Windows folder on another system
        shell->OpenFolder("relative/folder"), shell->OpenFile(dir / "missing.txt"),
    };
    for (const ShellResult& r : results) {
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.reason.empty());
    }
}

// Names a command line would take apart are file names to the desktop and nothing more.
TEST(DesktopShell, ANameIsNeverRunAsACommand) {
    test::TempFolder dir;
    const std::string marker = dir / "ran";
    const std::unique_ptr<DesktopShell> shell = CreateDesktopShell();
    for (const std::string& name :
         {"$(touch " + marker + ")", "a; touch " + marker, "-x 'q\"`touch " + marker + "`"}) {
        EXPECT_FALSE(shell->OpenFile(dir / name).ok) << name;
        EXPECT_FALSE(shell->OpenFolder(dir / name).ok) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(marker));
}

}  // namespace
}  // namespace kantoria
