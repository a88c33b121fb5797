// Saving must never damage the previous catalogue, whatever fails along the way.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <set>

#include "core/catalogue/catalogue.h"
#include "core/os/atomic_file.h"
#include "core/os/file_lock.h"
#include "testing/core/test_files.h"

namespace kantoria {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

const std::string kOld = "SELECTED=old\r\nC:\\old.txt\told\t\r\n";

void Fill(Catalogue& doc, int entries) {
    for (int i = 0; i < entries; ++i)
        doc.Entries().Append("C:\\Docs\\file" + std::to_string(i) + ".txt",
                             "タイトル" + std::to_string(i), "コメント");
}

size_t FilesIn(const fs::path& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
}

TEST(AtomicSave, ReplacesTheFileAndKeepsItsPermissions) {
    TempFolder dir;
    WriteBytes(dir / "c.ZNL", kOld);
    ::chmod((dir / "c.ZNL").c_str(), 0640);
    Catalogue doc;
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
    Catalogue doc;
    Fill(doc, 1);
    ASSERT_TRUE(doc.SaveCatalogue(dir / "link.ZNL"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.ZNL"));
    Catalogue back;
    ASSERT_TRUE(back.LoadCatalogue(dir / "real/c.ZNL"));
    EXPECT_EQ(back.Entries().size(), 1u);
}

TEST(AtomicSave, TargetThatIsAFolderFailsWithAReason) {
    TempFolder dir;
    fs::create_directory(dir.path() / "c.ZNL");
    Catalogue doc;
    const Status status = doc.SaveCatalogue(dir / "c.ZNL");
    EXPECT_FALSE(status);
    EXPECT_FALSE(status.reason().empty());
    EXPECT_TRUE(fs::is_directory(dir.path() / "c.ZNL"));
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(AtomicSave, MissingFolderFails) {
    TempFolder dir;
    Catalogue doc;
    const Status saved = doc.SaveCatalogue(dir / "no/such/c.ZNL");
    EXPECT_EQ(saved.code(), StatusCode::NotFound) << saved.reason();
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

TEST(AtomicSave, ReadOnlyFolderFailsAndKeepsTheOldFile) {
    TempFolder dir;
    WriteBytes(dir / "c.ZNL", kOld);
    ::chmod(dir.path().c_str(), 0555);
    if (::access(dir.path().c_str(), W_OK) == 0) GTEST_SKIP() << "permissions do not bind root";
    Catalogue doc;
    Fill(doc, 3);
    EXPECT_FALSE(doc.SaveCatalogue(dir / "c.ZNL"));
    EXPECT_EQ(ReadBytes(dir / "c.ZNL"), kOld);
}

std::set<std::string> NamesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// Root may write any file, so the tests below save as an ordinary user: root becomes nobody.
constexpr uid_t kNobody = 65534;
void BecomeOrdinaryUser() {
    if (::geteuid() != 0) return;
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
        std::_Exit(3);
}
void GiveToOrdinaryUser(const fs::path& path) {
    if (::geteuid() == 0) {
        ASSERT_EQ(::lchown(path.c_str(), kNobody, kNobody), 0) << path;
    }
}

// Saves as an ordinary user; exits 0 when the save failed with code and left the folder as
// it was.
[[noreturn]] void SaveRefused(const fs::path& target, StatusCode code) {
    BecomeOrdinaryUser();
    const std::set<std::string> before = NamesIn(target.parent_path());
    const std::string bytes = fs::is_regular_file(target) ? ReadBytes(target) : "";
    Catalogue doc;
    Fill(doc, 3);
    const Status status = doc.SaveCatalogue(target);
    const bool kept = NamesIn(target.parent_path()) == before &&
                      (!fs::is_regular_file(target) || ReadBytes(target) == bytes);
    if (status.code() != code || status.reason().empty() || !kept)
        std::fprintf(stderr, "%s: '%s' kept=%d\n", target.c_str(), status.reason().c_str(), kept);
    std::_Exit(status.code() == code && !status.reason().empty() && kept ? 0 : 1);
}

// A save must not replace what writing the file in place could not change.
TEST(AtomicSave, RefusedWhereWritingInPlaceWouldFail) {
    TempFolder dir;
    struct Case {
        std::string folder;
        StatusCode code;
    };
    std::vector<Case> cases = {{"readonly", StatusCode::PermissionDenied},
                               {"fifo", StatusCode::SpecialFile},
                               {"socket", StatusCode::SpecialFile},
                               {"readonly-folder", StatusCode::PermissionDenied}};
    for (const Case& c : cases) {
        fs::create_directory(dir.path() / c.folder);
        GiveToOrdinaryUser(dir.path() / c.folder);
    }
    const fs::path readonly = dir.path() / "readonly/c.ZNL";
    WriteBytes(readonly, kOld);
    GiveToOrdinaryUser(readonly);
    ::chmod(readonly.c_str(), 0444);
    ASSERT_EQ(::mkfifo((dir / "fifo/c.ZNL").c_str(), 0666), 0);
    GiveToOrdinaryUser(dir.path() / "fifo/c.ZNL");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (dir / "socket/c.ZNL").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    GiveToOrdinaryUser(dir.path() / "socket/c.ZNL");
    WriteBytes(dir / "readonly-folder/c.ZNL", kOld);
    GiveToOrdinaryUser(dir.path() / "readonly-folder/c.ZNL");
    ::chmod((dir / "readonly-folder").c_str(), 0555);
    if (::geteuid() == 0) {
        // Root's file in the user's own folder: the save must not hand it over to the user.
        cases.push_back({"roots", StatusCode::PermissionDenied});
        fs::create_directory(dir.path() / "roots");
        GiveToOrdinaryUser(dir.path() / "roots");
        WriteBytes(dir / "roots/c.ZNL", kOld);
    }
    for (const Case& c : cases)
        EXPECT_EXIT(SaveRefused(dir.path() / c.folder / "c.ZNL", c.code),
                    ::testing::ExitedWithCode(0), "")
            << c.folder;
    ::close(sock);
}

// Root's saves follow the same rule: a read-only file is written in place by root, so it may
// be replaced; an immutable one may not be written even by root.
TEST(AtomicSave, RootReplacesAReadOnlyFileButNotAnImmutableOne) {
    if (::geteuid() != 0) GTEST_SKIP() << "marking a file immutable needs root";
    TempFolder dir;
    WriteBytes(dir / "ro.ZNL", kOld);
    ::chmod((dir / "ro.ZNL").c_str(), 0444);
    Catalogue doc;
    Fill(doc, 3);
    ASSERT_TRUE(doc.SaveCatalogue(dir / "ro.ZNL"));
    struct stat st {};
    ASSERT_EQ(::stat((dir / "ro.ZNL").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);

    WriteBytes(dir / "imm.ZNL", kOld);
    const std::string chattr = "chattr +i '" + dir / "imm.ZNL" + "'";
    ASSERT_EQ(std::system(chattr.c_str()), 0) << chattr << " failed";
    const Status status = doc.SaveCatalogue(dir / "imm.ZNL");
    EXPECT_EQ(std::system(("chattr -i '" + dir / "imm.ZNL" + "'").c_str()), 0);
    EXPECT_EQ(status.code(), StatusCode::PermissionDenied) << status.reason();
    EXPECT_EQ(ReadBytes(dir / "imm.ZNL"), kOld);
    EXPECT_EQ(FilesIn(dir.path()), 2u);
}

// A writer that dies before its commit, its temporary file as it left it.
[[noreturn]] void DieWhileWriting(const std::string& target, AtomicFile::Temp temp) {
    Status status = Status::Ok();
    const std::unique_ptr<AtomicFile> file = AtomicFile::Create(target, status, temp);
    if (file && file->Write("half a catalogue")) std::_Exit(0);
    std::_Exit(1);
}

// Writers killed half way leave nothing, or nothing that outlives the next save; temporary
// files of live writers and of other files stay.
TEST(AtomicSave, DeadWritersLeaveNoTemporaryFiles) {
    TempFolder dir;
    const std::string target = dir / "c.ZNL";
    WriteBytes(target, kOld);
    EXPECT_EXIT(DieWhileWriting(target, AtomicFile::Temp::Anonymous), ::testing::ExitedWithCode(0),
                "");
    EXPECT_EQ(NamesIn(dir.path()), std::set<std::string>{"c.ZNL"});

    Status status = Status::Ok();
    const auto live = AtomicFile::Create(target, status, AtomicFile::Temp::Named);
    ASSERT_TRUE(live) << status.reason();
    EXPECT_EXIT(DieWhileWriting(target, AtomicFile::Temp::Named), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(FilesIn(dir.path()), 3u);
    WriteBytes(dir / ".c.ZNL.tmp-notes.txt", "");
    WriteBytes(dir / ".d.ZNL.tmp1-2-3", "");
    const std::set<std::string> others = {"c.ZNL", ".c.ZNL.tmp-notes.txt", ".d.ZNL.tmp1-2-3"};
    EXPECT_EQ(NamesIn(dir.path()).size(), others.size() + 2);

    Catalogue doc;
    Fill(doc, 1);
    ASSERT_TRUE(doc.SaveCatalogue(target));
    std::set<std::string> left = NamesIn(dir.path());
    ASSERT_EQ(left.size(), others.size() + 1);  // the live writer's file only
    for (const std::string& name : others) left.erase(name);
    EXPECT_TRUE(IsSaveTempName(*left.begin(), "c.ZNL")) << *left.begin();
}

// Saves several megabytes with a file size limit, so that write() fails after the first
// bytes as it would on a full disk; exits 0 when the save reported the failure.
[[noreturn]] void SaveWithFileSizeLimit(const std::string& target) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100'000, 100'000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    Catalogue doc;
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

// Whatever stands at the lock's name but a plain file, the lock is refused and nothing is
// created or changed where a link points.
TEST(FileLock, RefusedWhereNoPlainLockFileStands) {
    const struct {
        const char* name;
        void (*plant)(const TempFolder& dir);
    } cases[] = {
        {"folder", [](const TempFolder& dir) { fs::create_directory(dir / ".c.ZNL.lock"); }},
        {"dangling link",
         [](const TempFolder& dir) { fs::create_symlink(dir / "target", dir / ".c.ZNL.lock"); }},
        {"link to a file",
         [](const TempFolder& dir) {
             WriteBytes(dir / "target", "theirs");
             fs::create_symlink(dir / "target", dir / ".c.ZNL.lock");
         }},
        {"named pipe",
         [](const TempFolder& dir) { ::mkfifo((dir / ".c.ZNL.lock").c_str(), 0600); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        c.plant(dir);
        const bool hadTarget = fs::exists(dir / "target");
        Status status = Status::Ok();
        EXPECT_FALSE(FileLock::Acquire(dir / "c.ZNL", status, std::chrono::milliseconds(50)));
        EXPECT_FALSE(status.ok());
        EXPECT_NE(status.code(), StatusCode::Busy);
        EXPECT_EQ(fs::exists(dir / "target"), hadTarget);
        if (hadTarget) {
            EXPECT_EQ(ReadBytes(dir / "target"), "theirs");
        }
    }
}

// Everyone who may write the folder may lock the catalogue, whatever the umask of whoever made
// the lock file; a lock file the user may not write still locks.
TEST(FileLock, LockFileOpensToEveryWriterOfTheFolder) {
    const mode_t umask = ::umask(022);
    for (const mode_t folder : std::initializer_list<mode_t>{0755, 0775, 02770, 0777}) {
        SCOPED_TRACE(folder);
        TempFolder dir;
        ::chmod(dir.path().c_str(), folder);
        Status status = Status::Ok();
        const auto lock = FileLock::Acquire(dir / "c.ZNL", status);
        ASSERT_TRUE(lock) << status.reason();
        struct stat st {};
        ASSERT_EQ(::stat((dir / ".c.ZNL.lock").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0644u | (folder & 022));
    }
    ::umask(umask);
    TempFolder dir;
    WriteBytes(dir / ".c.ZNL.lock", "");
    ::chmod((dir / ".c.ZNL.lock").c_str(), 0444);
    if (::access((dir / ".c.ZNL.lock").c_str(), W_OK) == 0 && ::geteuid() != 0)
        GTEST_SKIP() << "the lock file stays writable";
    const pid_t child = ::fork();
    if (child == 0) {
        // Another user, unless this is no root; then the file's mode alone keeps it unwritable.
        if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(3);
        Status status = Status::Ok();
        ::_exit(FileLock::Acquire(dir / "c.ZNL", status, std::chrono::milliseconds(50)) ? 0 : 1);
    }
    int result = 0;
    ASSERT_EQ(::waitpid(child, &result, 0), child);
    EXPECT_TRUE(WIFEXITED(result) && WEXITSTATUS(result) == 0);
}

}  // namespace
}  // namespace kantoria
