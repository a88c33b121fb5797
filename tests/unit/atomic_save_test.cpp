// Saving must never damage the previous catalogue, whatever fails along the way.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "core/catalogue/morka2_doc.h"
#include "testing/core/test_files.h"

namespace kantoria {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

const std::string kOld = "SELECTED=old\r\nC:\\old.txt\told\t\r\n";

void Fill(CMORKA2Doc& doc, int entries) {
    for (int i = 0; i < entries; ++i)
        doc.m_EntryList.Append("C:\\Docs\\file" + std::to_string(i) + ".txt",
                               "タイトル" + std::to_string(i), "コメント");
}

size_t FilesIn(const fs::path& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
}

TEST(AtomicSave, ReplacesTheFileAndKeepsItsPermissions) {
    TempFolder dir;
    WriteBytes(dir / "c.ZNL", kOld);
    ::chmod((dir / "c.ZNL").c_str(), 0640);
    CMORKA2Doc doc;
    Fill(doc, 3);
    ASSERT_TRUE(doc.SaveCatalogue(dir / "c.ZNL"));
    struct stat st {};
    ASSERT_EQ(::stat((dir / "c.ZNL").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_NE(ReadBytes(dir / "c.ZNL"), kOld);
    EXPECT_EQ(FilesIn(dir.path()), 1u);  // no temporary file left behind
}

TEST(AtomicSave, WritesThroughASymbolicLink) {
    TempFolder dir;
    fs::create_directory(dir.path() / "real");
    WriteBytes(dir / "real/c.ZNL", kOld);
    fs::create_symlink("real/c.ZNL", dir.path() / "link.ZNL");
    CMORKA2Doc doc;
    Fill(doc, 1);
    ASSERT_TRUE(doc.SaveCatalogue(dir / "link.ZNL"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.ZNL"));
    CMORKA2Doc back;
    ASSERT_TRUE(back.LoadCatalogue(dir / "real/c.ZNL"));
    EXPECT_EQ(back.m_EntryList.size(), 1u);
}

TEST(AtomicSave, TargetThatIsAFolderFailsWithAReason) {
    TempFolder dir;
    fs::create_directory(dir.path() / "c.ZNL");
    CMORKA2Doc doc;
    const Status status = doc.SaveCatalogue(dir / "c.ZNL");
    EXPECT_FALSE(status);
    EXPECT_FALSE(status.reason().empty());
    EXPECT_TRUE(fs::is_directory(dir.path() / "c.ZNL"));
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(AtomicSave, MissingFolderFails) {
    TempFolder dir;
    CMORKA2Doc doc;
    EXPECT_FALSE(doc.SaveCatalogue(dir / "no/such/c.ZNL"));
}

TEST(AtomicSave, ReadOnlyFolderFailsAndKeepsTheOldFile) {
    TempFolder dir;
    WriteBytes(dir / "c.ZNL", kOld);
    ::chmod(dir.path().c_str(), 0555);
    if (::access(dir.path().c_str(), W_OK) == 0) GTEST_SKIP() << "permissions do not bind root";
    CMORKA2Doc doc;
    Fill(doc, 3);
    EXPECT_FALSE(doc.SaveCatalogue(dir / "c.ZNL"));
    EXPECT_EQ(ReadBytes(dir / "c.ZNL"), kOld);
}

// Saves several megabytes with a file size limit, so that write() fails after the first
// bytes as it would on a full disk; exits 0 when the save reported the failure.
[[noreturn]] void SaveWithFileSizeLimit(const std::string& target) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100'000, 100'000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    CMORKA2Doc doc;
    Fill(doc, 50'000);
    const Status status = doc.SaveCatalogue(target);
    std::_Exit(!status && !status.reason().empty() ? 0 : 1);
}

// Runs in a child process so that the limit stays there.
TEST(AtomicSave, WriteFailingHalfWayKeepsTheOldFile) {
    TempFolder dir;
    const std::string target = dir / "c.ZNL";
    WriteBytes(target, kOld);
    EXPECT_EXIT(SaveWithFileSizeLimit(target), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadBytes(target), kOld);
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace kantoria
