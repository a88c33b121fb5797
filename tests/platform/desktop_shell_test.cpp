#include "platform/desktop_shell.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kantoria
