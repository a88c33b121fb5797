// The Windows file services: replacing a file in one rename, UTF-16 names of every kind, the
// folder identity that stops a walk through links and junctions, the lock file.
#include <gtest/gtest.h>
#include <windows.h>
#include <nlohmann/json.hpp>

#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

#include "cli/cli_commands.h"
#include "core/catalogue/catalogue.h"
#include "core/os/atomic_file.h"
#include "core/os/environment.h"
#include "core/os/file_lock.h"
#include "core/os/file_read.h"
#include "core/os/folder_lister.h"
#include "core/os/path_probe.h"
#include "core/os/system_path.h"
#include "core/os/win32/wide.h"
#include "core/search/auto_search.h"
#include "platform/system_desktop_shell.h"
#include "testing/core/test_files.h"

namespace kantoria {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesW(win32::Wide(path).c_str());
}

Status Save(const std::string& path, std::string_view bytes) {
    Status status = Status::Ok();
    std::unique_ptr<AtomicFile> file = AtomicFile::Create(path, status);
    if (!file) return status;
    if (!file->Write(bytes)) return file->status();
    return file->Commit();
}

// Every name that Windows can hold: a trail byte 0x5C in code page 932, Latin that code page
// 1252 holds and 932 does not, half-width katakana, Hangul and an emoji outside both.
const char* const kNames[] = {"表ソフト.doc", "café.txt", "ｶﾀｶﾅ.txt", "한국어.txt", "😀.txt"};

TEST(WindowsFiles, NamesOfEveryKindAreWrittenListedAndReadExactly) {
    TempFolder dir;
    for (const char* name : kNames) {
        SCOPED_TRACE(name);
        const std::string path = dir / name;
        ASSERT_TRUE(Save(path, name));
        std::string read;
        ASSERT_TRUE(ReadWholeFile(path, read));
        EXPECT_EQ(read, name);
        EXPECT_TRUE(StampOf(path).exists);
        EXPECT_EQ(MakeSystemPathProbe()->Look(path), Presence::Present);
        EXPECT_TRUE(fs::exists(SystemPath(path)));
    }
    std::vector<FolderItem> items;
    FolderId id;
    ASSERT_TRUE(MakeSystemFolderLister()->List(PathText(dir.path()), items, id));
    std::vector<std::string> listed;
    for (const FolderItem& item : items) listed.push_back(item.name);
    std::sort(listed.begin(), listed.end());
    std::vector<std::string> expected(std::begin(kNames), std::end(kNames));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
}

TEST(WindowsFiles, TextCrossesToUtf16AndBackUnchanged) {
    // A byte the program could not decode is held as a lone surrogate and stays one.
    const std::string escaped = "a\xED\xB2\x81.txt";
    EXPECT_EQ(win32::Wide(escaped), std::wstring(L"a\xDC81.txt"));
    for (const std::string& text : {std::string("表ソフト😀"), escaped, std::string("\xED\xA0\x80")})
        EXPECT_EQ(win32::Narrow(win32::Wide(text)), text);
    EXPECT_EQ(FromSystemName(escaped), escaped);
    ::_wputenv_s(L"KANTORIA_TEST_NAME", L"\x8868\x30BD\x30D5\x30C8\xD83D\xDE00");
    EXPECT_EQ(ProcessEnvironment().Get("KANTORIA_TEST_NAME"), "表ソフト😀");
}

TEST(WindowsFiles, SaveReplacesAFileAndKeepsItsAttributesButNotAReadOnlyOne) {
    TempFolder dir;
    const std::string plain = dir / "c.ZNL", hidden = dir / "h.ZNL", readOnly = dir / "r.ZNL";
    for (const std::string& path : {plain, hidden, readOnly}) WriteBytes(path, "old");
    ::SetFileAttributesW(win32::Wide(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesW(win32::Wide(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(Save(plain, "new"));
    EXPECT_EQ(ReadBytes(plain), "new");
    const DWORD before = Attributes(hidden);  // Wine may keep no hidden attribute
    EXPECT_TRUE(Save(hidden, "new"));
    EXPECT_EQ(ReadBytes(hidden), "new");
    EXPECT_EQ(Attributes(hidden), before);
    EXPECT_TRUE(Save(dir / "fresh.ZNL", "new"));
    EXPECT_EQ(ReadBytes(dir / "fresh.ZNL"), "new");

    EXPECT_EQ(Save(readOnly, "new").code(), StatusCode::PermissionDenied);
    EXPECT_EQ(ReadBytes(readOnly), "old");
    EXPECT_EQ(Save(PathText(dir.path()), "new").code(), StatusCode::NotRegularFile);
    ::SetFileAttributesW(win32::Wide(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
    // Nothing but the four files: no temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 4);
}

TEST(WindowsFiles, TemporaryFileOfAWriterThatIsGoneIsCleared) {
    TempFolder dir;
    WriteBytes(dir / ".c.ZNL.tmp123-0-4", "left by a killed save");
    ASSERT_TRUE(Save(dir / "c.ZNL", "new"));
    EXPECT_FALSE(fs::exists(SystemPath(dir / ".c.ZNL.tmp123-0-4")));
}

TEST(WindowsFiles, SecondHolderOfTheLockWaitsAndTheLockFileGoes) {
    TempFolder dir;
    const std::string catalogue = dir / "表.ZNL";
    Status status = Status::Ok();
    {
        const auto first = FileLock::Acquire(catalogue, status);
        ASSERT_TRUE(first) << status.reason();
        EXPECT_TRUE(fs::exists(SystemPath(dir / ".表.ZNL.lock")));
        EXPECT_FALSE(FileLock::Acquire(catalogue, status, std::chrono::milliseconds(60)));
        EXPECT_EQ(status.code(), StatusCode::Busy);
    }
    EXPECT_FALSE(fs::exists(SystemPath(dir / ".表.ZNL.lock")));
    EXPECT_TRUE(FileLock::Acquire(catalogue, status, std::chrono::milliseconds(60)));
}

// Makes link a junction to the folder target (both absolute), as mklink /J does.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
    if (!::CreateDirectoryW(link.c_str(), nullptr)) return false;
    const win32::Handle folder(
        ::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const std::wstring substitute = L"\\??\\" + target;
    // The mount point layout: tag, lengths, then the substitute and print names, each ended.
    std::vector<char> buffer(16 + (substitute.size() + target.size() + 2) * sizeof(wchar_t));
    const auto put16 = [&](size_t at, size_t value) {
        const auto v = static_cast<std::uint16_t>(value);
        std::memcpy(buffer.data() + at, &v, 2);
    };
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buffer.data(), &tag, 4);
    put16(4, buffer.size() - 8);
    put16(8, 0);
    put16(10, substitute.size() * sizeof(wchar_t));
    put16(12, (substitute.size() + 1) * sizeof(wchar_t));
    put16(14, target.size() * sizeof(wchar_t));
    std::memcpy(buffer.data() + 16, substitute.c_str(), (substitute.size() + 1) * sizeof(wchar_t));
    std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * sizeof(wchar_t), target.c_str(),
                (target.size() + 1) * sizeof(wchar_t));
    DWORD returned = 0;
    return folder.valid() &&
           ::DeviceIoControl(folder.get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                             static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
}

// A junction back up the tree and a second way into one folder: each real folder is entered
// once, known by its volume and file index.
TEST(WindowsFiles, SearchEntersEachFolderOnceThroughJunctions) {
    TempFolder dir;
    fs::create_directories(SystemPath(dir / "tree/報告"));
    WriteBytes(dir / "tree/報告/a.doc", "x");
    const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
    std::vector<FolderItem> items;
    FolderId treeId, treeAgain, report;
    ASSERT_TRUE(lister->List(dir / "tree", items, treeId));
    ASSERT_TRUE(lister->List(dir / "tree/報告/..", items, treeAgain));
    ASSERT_TRUE(lister->List(dir / "tree/報告", items, report));
    EXPECT_EQ(treeId, treeAgain);
    EXPECT_NE(treeId, report);

    const std::wstring tree = win32::Wide(dir / "tree");
    if (!MakeJunction(tree + L"\\報告\\up", tree))
        GTEST_SKIP() << "no junctions here: " << win32::LastError().reason();
    ASSERT_TRUE(MakeJunction(tree + L"\\again", tree + L"\\報告"));
    Catalogue doc;
    AutoSearch search(doc, *lister);
    EXPECT_EQ(search.ScanFolder(dir / "tree", nullptr), SearchStatus::Completed);
    EXPECT_EQ(search.found, 1);
}

// What is not there is reported without the shell starting anything.
TEST(WindowsFiles, ShellRefusesWhatIsNotThere) {
    TempFolder dir;
    WriteBytes(dir / "表.txt", "x");
    const std::unique_ptr<DesktopShell> shell = CreateDesktopShell();
    EXPECT_EQ(shell->OpenFile(dir / "無い.txt").code(), StatusCode::NotFound);
    EXPECT_EQ(shell->OpenFolder(dir / "無い").code(), StatusCode::NotFound);
    EXPECT_EQ(shell->OpenFolder(dir / "表.txt").code(), StatusCode::NotFound);
}

// kantoria-cli search over names that the narrow Windows calls would mangle.
TEST(WindowsFiles, CliSearchRegistersJapaneseNamesExactly) {
    TempFolder dir;
    fs::create_directories(SystemPath(dir / "書類"));
    for (const char* name : kNames) WriteBytes(dir / ("書類\\" + std::string(name)), "x");
    std::ostringstream out, err;
    ASSERT_EQ(cli::Run({"search", dir / "c.ZNL", dir / "書類"}, out, err), 0) << err.str();
    EXPECT_EQ(nlohmann::json::parse(out.str())["found"], 5) << out.str();
    std::ostringstream dumped;
    ASSERT_EQ(cli::Run({"dump", dir / "c.ZNL"}, dumped, err), 0) << err.str();
    std::vector<std::string> paths;
    const auto json = nlohmann::json::parse(dumped.str());
    for (const auto& entry : json["entries"]) paths.push_back(entry["path"]);
    std::vector<std::string> expected;
    for (const char* name : kNames) expected.push_back(dir / ("書類\\" + std::string(name)));
    std::sort(paths.begin(), paths.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(paths, expected);
}

}  // namespace
}  // namespace kantoria
