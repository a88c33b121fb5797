#include "platform/system_desktop_shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "testing/core/test_files.h"

namespace kantoria {
namespace {

// Only failures are tried here: a success would start the desktop's file manager.
TEST(DesktopShell, RefusesWhatItCannotOpenAndSaysWhy) {
    test::TempFolder dir;
    test::WriteBytes(dir / "file.txt", "x");
    const std::unique_ptr<DesktopShell> shell = CreateDesktopShell();
    const std::pair<Status, StatusCode> results[] = {
        {shell->OpenFolder(dir / "missing"), StatusCode::NotFound},
        {shell->OpenFolder(dir / "file.txt"), StatusCode::NotFound},  // a file is no folder
        {shell->OpenFolder("C:\\Docs\\"), StatusCode::Other},         // a Windows folder elsewhere
        {shell->OpenFolder("relative/folder"), StatusCode::Other},
        {shell->OpenFile(dir / "missing.txt"), StatusCode::NotFound},
    };
    for (const auto& [status, code] : results) {
        EXPECT_EQ(status.code(), code) << status.reason();
        EXPECT_FALSE(status.reason().empty());
    }
}

// Names a command line would take apart are file names to the desktop and nothing more.
TEST(DesktopShell, ANameIsNeverRunAsACommand) {
    test::TempFolder dir;
    const std::string marker = dir / "ran";
    const std::unique_ptr<DesktopShell> shell = CreateDesktopShell();
    for (const std::string& name :
         {"$(touch " + marker + ")", "a; touch " + marker, "-x 'q\"`touch " + marker + "`"}) {
        EXPECT_FALSE(shell->OpenFile(dir / name).ok()) << name;
        EXPECT_FALSE(shell->OpenFolder(dir / name).ok()) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(marker));
}

// The same names on files that exist: the test's default program for plain text (cat, see the
// main) receives each as one argument, and no shell ever sees it. If a shell did, the commands
// in the names would leave their marker in the working folder.
TEST(DesktopShell, AnExistingFileWithAnyNameIsHandedOverWhole) {
    test::TempFolder dir;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::unique_ptr<DesktopShell> shell = CreateDesktopShell();
    for (const std::string name :
         {"$(touch ran).txt", "a; touch ran.txt", "-x 'q\"`touch ran`.txt", "with space.txt"}) {
        test::WriteBytes(dir / name, "");
        const Status result = shell->OpenFile(dir / name);
        EXPECT_TRUE(result.ok()) << name << ": " << result.reason();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the programs have ended
    EXPECT_FALSE(std::filesystem::exists(dir / "ran"));
    std::filesystem::current_path(before);
}

}  // namespace
}  // namespace kantoria
