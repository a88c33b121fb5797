#include "core/search/auto_search.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

#include "core/text/path_split.h"
#include "testing/core/fake_lister.h"
#include "testing/core/test_files.h"

namespace kantoria {
namespace {

namespace fs = std::filesystem;
using test::FakeLister;

struct Found {
    std::string path, title;
    bool operator==(const Found&) const = default;
};

std::vector<Found> Entries(const Catalogue& doc) {
    std::vector<Found> out;
    for (const Entry& e : doc.Entries())
        out.push_back({std::string(e.Path()), std::string(e.Title())});
    return out;
}

void PrintTo(const Found& f, std::ostream* os) {
    *os << f.path << " -> " << f.title;
}

class ScriptedListener final : public SearchListener {
  public:
    UnlistableFolder answer = UnlistableFolder::Skip;
    int cancelAfterReports = -1;
    std::vector<std::string> asked;
    std::vector<SearchProgress> reports;

    bool OnProgress(const SearchProgress& progress) override {
        reports.push_back(progress);
        return cancelAfterReports < 0 || static_cast<int>(reports.size()) < cancelAfterReports;
    }
    UnlistableFolder OnUnlistableFolder(const std::string& folder, const Status&) override {
        asked.push_back(folder);
        return answer;
    }
};

TEST(AutoSearch, WalksDepthFirstInWindowsOrderAndMakesTitles) {
    FakeLister fs;
    for (const char* f : {"C:\\T\\b.txt", "C:\\T\\A\\report.doc", "C:\\T\\a.b.doc", "C:\\T\\plan",
                          "C:\\T\\.profile", "C:\\T\\Sub\\.profile", "C:\\T\\Sub\\Report.DOC",
                          "C:\\T\\c\\report.doc"})
        fs.AddFile(f);
    Catalogue doc;
    AutoSearch search(doc, fs);
    EXPECT_EQ(search.ScanFolder("C:\\T", nullptr), SearchStatus::Completed);
    EXPECT_EQ(search.found, 8);
    const std::vector<Found> expected = {
        {"C:\\T\\.profile", ""},
        {"C:\\T\\A\\report.doc", "report"},
        {"C:\\T\\a.b.doc", "a.b"},
        {"C:\\T\\b.txt", "b"},
        {"C:\\T\\c\\report.doc", "report1"},
        {"C:\\T\\plan", "plan"},
        {"C:\\T\\Sub\\.profile", "1"},
        {"C:\\T\\Sub\\Report.DOC", "Report2"},
    };
    EXPECT_EQ(Entries(doc), expected);
    for (const Entry& e : doc.Entries()) EXPECT_EQ(e.Comment(), "自動検索");
}

struct FilterCase {
    const char* name;
    bool useExt;
    bool subFolders;
    std::vector<std::string> registered;
};
void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

class SearchFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(SearchFilters, TakeTheRightFiles) {
    FakeLister fs;
    for (const char* f : {"D:\\x\\Report.DOC", "D:\\x\\report.docx", "D:\\x\\report.doc.bak",
                          "D:\\x\\noext", "D:\\x\\in\\deep.doc"})
        fs.AddFile(f);
    Catalogue doc;
    AutoSearch search(doc, fs);
    search.useExt = GetParam().useExt;
    search.subFolders = GetParam().subFolders;
    search.extension = ".doc";
    search.ScanFolder("D:\\x\\", nullptr);  // a trailing separator is not doubled
    std::vector<std::string> paths;
    for (const Entry& e : doc.Entries()) paths.emplace_back(e.Path());
    EXPECT_EQ(paths, GetParam().registered);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchFilters,
    ::testing::Values(
        FilterCase{"DocOnly", true, true, {"D:\\x\\in\\deep.doc", "D:\\x\\Report.DOC"}},
        FilterCase{"DocWithoutSubfolders", true, false, {"D:\\x\\Report.DOC"}},
        FilterCase{"Everything",
                   false,
                   true,
                   {"D:\\x\\in\\deep.doc", "D:\\x\\noext", "D:\\x\\Report.DOC",
                    "D:\\x\\report.doc.bak", "D:\\x\\report.docx"}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(AutoSearch, RegisteredPathsAndTitlesAreRespected) {
    FakeLister fs;
    fs.AddFile("C:\\d\\one\\report.doc");
    fs.AddFile("C:\\d\\two\\report.doc");
    fs.AddFile("C:\\d\\KNOWN.txt");
    Catalogue doc;
    doc.Entries().Append("c:\\D\\known.TXT", "x", "");  // same path, other case
    doc.Entries().Append("C:\\elsewhere.doc", "REPORT", "");
    AutoSearch search(doc, fs);
    search.ScanFolder("C:\\d", nullptr);
    EXPECT_EQ(search.found, 2);
    EXPECT_EQ(doc.Entries().size(), 4u);
    EXPECT_TRUE(doc.TitleExists("report1"));
    EXPECT_TRUE(doc.TitleExists("report2"));
    // The same search again finds nothing new.
    search.ScanFolder("C:\\d", nullptr);
    EXPECT_EQ(search.found, 0);
    EXPECT_EQ(doc.Entries().size(), 4u);
}

// The naive rule: try the name, then name1, name2, ... against every title.
std::string NaiveTitle(const Catalogue& doc, const std::string& name) {
    auto taken = [&](const std::string& t) {
        for (const Entry& e : doc.Entries())
            if (EqualsNoCase(e.Title(), t)) return true;
        return false;
    };
    if (!taken(name)) return name;
    for (int k = 1;; ++k)
        if (!taken(name + std::to_string(k))) return name + std::to_string(k);
}

TEST(AutoSearch, NumberedTitlesMatchTheNaiveRuleOnCollidingNames) {
    std::mt19937 rng(3);
    const std::vector<std::string> names = {"a", "A", "a1", "a11", "ａ", "Ａ1", "b", "1", ""};
    for (int round = 0; round < 30; ++round) {
        FakeLister fs;
        std::vector<std::string> files;
        for (int i = 0; i < 60; ++i) {
            const std::string path =
                "C:\\r\\f" + std::to_string(i) + "\\" + names[rng() % names.size()] + ".txt";
            fs.AddFile(path);
        }
        Catalogue doc, naive;
        for (int i = 0; i < 5; ++i) {
            const std::string title = names[rng() % names.size()] + std::to_string(rng() % 3);
            doc.Entries().Append("Z:\\" + std::to_string(i), title, "");
            naive.Entries().Append("Z:\\" + std::to_string(i), title, "");
        }
        AutoSearch search(doc, fs);
        search.ScanFolder("C:\\r", nullptr);
        auto it = doc.Entries().begin();
        std::advance(it, 5);
        for (; it != doc.Entries().end(); ++it) {
            const std::string name(SplitPath(it->Path()).name);
            const std::string expected = NaiveTitle(naive, name);
            ASSERT_EQ(it->Title(), expected) << it->Path();
            naive.Entries().Append(it->Path(), expected, "");
        }
    }
}

TEST(AutoSearch, ThousandsOfEqualNamesGetConsecutiveNumbers) {
    FakeLister fs;
    for (int i = 0; i < 3000; ++i)
        fs.AddFile("C:\\w\\" + std::to_string(10000 + i) + "\\README.md");
    Catalogue doc;
    AutoSearch search(doc, fs);
    search.ScanFolder("C:\\w", nullptr);
    ASSERT_EQ(search.found, 3000);
    int k = 0;
    for (const Entry& e : doc.Entries())
        ASSERT_EQ(e.Title(), k++ == 0 ? "README" : "README" + std::to_string(k - 1));
}

TEST(AutoSearch, UnlistableFolderIsSkippedOrStopsTheSearch) {
    FakeLister fs;
    fs.AddFile("C:\\s\\a\\1.txt");
    fs.AddFile("C:\\s\\b\\2.txt");
    fs.AddFile("C:\\s\\c\\3.txt");
    fs.MakeUnlistable("C:\\s\\b");
    for (UnlistableFolder answer : {UnlistableFolder::Skip, UnlistableFolder::Stop}) {
        Catalogue doc;
        doc.Entries().Append("C:\\before.txt", "before", "");
        AutoSearch search(doc, fs);
        ScriptedListener listener;
        listener.answer = answer;
        const SearchStatus status = search.ScanFolder("C:\\s", &listener);
        EXPECT_EQ(listener.asked, std::vector<std::string>{"C:\\s\\b"});
        if (answer == UnlistableFolder::Skip) {
            EXPECT_EQ(status, SearchStatus::Completed);
            EXPECT_EQ(search.found, 2);
            ASSERT_EQ(search.unlistable.size(), 1u);
            EXPECT_EQ(search.unlistable[0].why.reason(), std::strerror(EACCES));
        } else {
            // A stopped search takes back what it appended; older entries stay.
            EXPECT_EQ(status, SearchStatus::Stopped);
            EXPECT_EQ(search.found, 0);
            EXPECT_EQ(Entries(doc), (std::vector<Found>{{"C:\\before.txt", "before"}}));
        }
    }
}

TEST(AutoSearch, CancelFromProgressTakesTheEntriesBack) {
    FakeLister fs;
    for (int i = 0; i < 1000; ++i) fs.AddFile("C:\\p\\f" + std::to_string(i) + ".txt");
    Catalogue doc;
    AutoSearch search(doc, fs);
    search.progressInterval = std::chrono::milliseconds(0);
    ScriptedListener listener;
    listener.cancelAfterReports = 3;
    EXPECT_EQ(search.ScanFolder("C:\\p", &listener), SearchStatus::Cancelled);
    EXPECT_EQ(listener.reports.size(), 3u);
    EXPECT_GT(listener.reports.back().found, listener.reports.front().found);
    EXPECT_EQ(listener.reports.back().currentFolder, "C:\\p");
    EXPECT_TRUE(doc.Entries().empty());
    EXPECT_EQ(doc.FindByTitle("f1"), nullptr);
}

// Folders listed ahead on threads change nothing the walk does: the same entries in the same
// order, the same questions and progress, a stop or a cancel at the same place. Random trees
// with colliding names, links (out of the tree, into it, loops) and unlistable folders.
TEST(AutoSearch, ListingAheadOnThreadsWalksLikeListingInTurn) {
    std::mt19937 rng(16);
    const std::vector<std::string> names = {"a",     "A",     "b",  "ｂ", "報告",
                                            "a.txt", "A.TXT", "b1", ""};
    for (int round = 0; round < 60; ++round) {
        FakeLister fs;
        std::vector<std::string> folders = {"C:\\r", "D:\\out"};
        fs.AddFolder("C:\\r");
        fs.AddFile("D:\\out\\o.txt");
        for (int i = 0; i < 120; ++i) {
            const std::string parent = folders[rng() % folders.size()];
            const std::string name = names[rng() % names.size()] + std::to_string(rng() % 4);
            switch (rng() % 8) {
                case 0:
                case 1:
                    folders.push_back(parent + "\\" + name);
                    fs.AddFolder(folders.back());
                    break;
                case 2:
                    fs.AddFolderLink(parent + "\\L" + name, folders[rng() % folders.size()]);
                    break;
                case 3:
                    fs.MakeUnlistable(parent);
                    break;
                default:
                    fs.AddFile(parent + "\\" + name);
                    break;
            }
        }
        const auto answer = round % 3 == 0 ? UnlistableFolder::Stop : UnlistableFolder::Skip;
        const int cancelAfter = round % 4 == 1 ? static_cast<int>(1 + rng() % 4) : -1;
        auto walk = [&](int threads) {
            Catalogue doc;
            AutoSearch search(doc, fs);
            search.listingThreads = threads;
            search.catalogue = "C:\\r\\b1";
            search.progressInterval = std::chrono::milliseconds(0);
            ScriptedListener listener;
            listener.answer = answer;
            listener.cancelAfterReports = cancelAfter;
            std::ostringstream seen;
            seen << static_cast<int>(search.ScanFolder("C:\\r", &listener)) << "\n";
            for (const Found& f : Entries(doc)) seen << f.path << " -> " << f.title << "\n";
            for (const std::string& folder : listener.asked) seen << "asked " << folder << "\n";
            for (const SkippedFolder& f : search.unlistable) seen << "skipped " << f.folder << "\n";
            for (const SearchProgress& p : listener.reports)
                seen << "progress " << p.foldersVisited << " " << p.filesVisited << " " << p.found
                     << " " << p.currentFolder << "\n";
            return seen.str();
        };
        const std::string inTurn = walk(0);
        for (const int threads : {1, 3}) ASSERT_EQ(walk(threads), inTurn) << "round " << round;
    }
}

TEST(AutoSearch, TakeBackAfterACompletedSearch) {
    FakeLister fs;
    fs.AddFile("C:\\q\\x.txt");
    Catalogue doc;
    doc.Entries().Append("C:\\old.txt", "x", "");
    AutoSearch search(doc, fs);
    search.ScanFolder("C:\\q", nullptr);
    EXPECT_TRUE(doc.TitleExists("x1"));
    search.TakeBack();
    EXPECT_EQ(Entries(doc), (std::vector<Found>{{"C:\\old.txt", "x"}}));
    // A search after the take-back numbers from scratch again.
    search.ScanFolder("C:\\q", nullptr);
    EXPECT_TRUE(doc.TitleExists("x1"));
}

TEST(AutoSearch, PathsThatTheFileCannotHoldAreSkipped) {
    FakeLister fs;
    fs.AddFile("C:\\t\\tab\there.txt");
    fs.AddFile("C:\\t\\line\nbreak.txt");
    fs.AddFile("C:\\t\\fine.txt");
    Catalogue doc;
    AutoSearch search(doc, fs);
    search.ScanFolder("C:\\t", nullptr);
    EXPECT_EQ(search.found, 1);
    EXPECT_EQ(search.skipped.size(), 2u);
}

// Links on a drive: the inside test compares without regard to case, as the drive does.
TEST(AutoSearch, LinksIntoTheSearchedFolderAreNotFollowedAndEachFolderIsEnteredOnce) {
    FakeLister fs;
    fs.AddFile("C:\\T\\Docs\\a.txt");
    fs.AddFile("D:\\Out\\b.txt");
    fs.AddFolderLink("C:\\T\\docs-link", "c:\\t\\DOCS");
    fs.AddFolderLink("C:\\T\\out1", "D:\\Out");
    fs.AddFolderLink("C:\\T\\out2", "D:\\Out");
    Catalogue doc;
    AutoSearch search(doc, fs);
    EXPECT_EQ(search.ScanFolder("C:\\T", nullptr), SearchStatus::Completed);
    EXPECT_EQ(Entries(doc),
              (std::vector<Found>{{"C:\\T\\Docs\\a.txt", "a"}, {"C:\\T\\out1\\b.txt", "b"}}));
    EXPECT_TRUE(search.unlistable.empty());
}

TEST(AutoSearch, TitlesTakeTheCatalogueSpellingPathsStayAsTheyAre) {
    FakeLister fs;
    fs.AddFile("C:\\t\\10〜20.txt");
    for (const Encoding enc : {Encoding::Cp932, Encoding::Utf8}) {
        Catalogue doc;
        doc.SetFileEncoding(enc);
        AutoSearch search(doc, fs);
        search.ScanFolder("C:\\t", nullptr);
        EXPECT_EQ(Entries(doc),
                  (std::vector<Found>{
                      {"C:\\t\\10〜20.txt", enc == Encoding::Cp932 ? "10～20" : "10〜20"}}));
    }
}

// POSIX links, permissions and case (Windows: win32_files_test.cpp).
#ifndef _WIN32
// The real file system: hidden files, links to folders, a link back up the tree.
TEST(AutoSearchOnDisk, FollowsLinksButNeverLoops) {
    test::TempFolder dir;
    const fs::path root = dir.path();
    fs::create_directories(root / "tree/sub");
    fs::create_directories(root / "other");
    test::WriteBytes((root / "tree/.hidden").string(), "x");
    test::WriteBytes((root / "tree/sub/a.txt").string(), "x");
    test::WriteBytes((root / "other/b.txt").string(), "x");
    fs::create_directory_symlink("..", root / "tree/sub/up");            // loop
    fs::create_directory_symlink(root / "other", root / "tree/linked");  // elsewhere
    fs::create_symlink("missing", root / "tree/dangling");
    const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
    Catalogue doc;
    AutoSearch search(doc, *lister);
    EXPECT_EQ(search.ScanFolder((root / "tree").string(), nullptr), SearchStatus::Completed);
    std::vector<std::string> paths;
    for (const Entry& e : doc.Entries())
        paths.push_back(fs::path(e.Path()).lexically_relative(root).string());
    EXPECT_EQ(paths, (std::vector<std::string>{"tree/.hidden", "tree/dangling", "tree/linked/b.txt",
                                               "tree/sub/a.txt"}));
}

// Entries as paths relative to root, with their titles.
std::vector<Found> RelativeEntries(const Catalogue& doc, const fs::path& root) {
    std::vector<Found> out;
    for (const Entry& e : doc.Entries())
        out.push_back(
            {fs::path(e.Path()).lexically_relative(root).string(), std::string(e.Title())});
    return out;
}

// Each row adds links to the same tree; a target that begins with "/" is taken from the
// temporary folder's top, any other from the link's own folder.
struct LinkCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;
    std::string searched;
    std::vector<Found> expected;
};

TEST(AutoSearchOnDisk, EachRealFolderIsEnteredOnceAndLinksIntoTheTreeAreNotFollowed) {
    const Found report{"tree/docs/報告書1.doc", "報告書1"}, a{"tree/sub/a.txt", "a"};
    const LinkCase cases[] = {
        {"a link into the tree",
         {{"tree/a-docs", "docs"}, {"tree/sub/up", ".."}},
         "tree",
         {report, a}},
        {"two links to one folder outside",
         {{"tree/x", "../other"}, {"tree/y", "/other"}},
         "tree",
         {report, a, {"tree/x/b.txt", "b"}}},
        {"a link outside that leads back in",
         {{"tree/x", "../other"}, {"other/back", "../tree/sub"}},
         "tree",
         {report, a, {"tree/x/b.txt", "b"}}},
        {"the searched folder reached through a link",
         {{"via", "tree"}, {"tree/again", "/tree/sub"}},
         "via",
         {{"via/docs/報告書1.doc", "報告書1"}, {"via/sub/a.txt", "a"}}},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder dir;
        const fs::path root = dir.path();
        fs::create_directories(root / "tree/docs");
        fs::create_directories(root / "tree/sub");
        fs::create_directories(root / "other");
        test::WriteBytes(dir / "tree/docs/報告書1.doc", "x");
        test::WriteBytes(dir / "tree/sub/a.txt", "x");
        test::WriteBytes(dir / "other/b.txt", "x");
        for (const auto& [link, target] : c.links)
            fs::create_directory_symlink(
                target[0] == '/' ? root / target.substr(1) : fs::path(target), root / link);
        const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
        Catalogue doc;
        AutoSearch search(doc, *lister);
        EXPECT_EQ(search.ScanFolder(dir / c.searched, nullptr), SearchStatus::Completed);
        EXPECT_EQ(RelativeEntries(doc, root), c.expected);
    }
}

// Folders on the kernel's own file systems are passed over, whichever way the walk reaches
// them; a memory file system such as /tmp is searched.
TEST(AutoSearchOnDisk, NeverEntersTheKernelsOwnFileSystems) {
    test::TempFolder dir;
    const fs::path root = fs::canonical(dir.path());
    for (const char* file : {"tree/keep/a.txt", "tree/proc/1/p.txt", "tree/dev/pts/q.txt",
                             "tree/tmp/t.txt", "sys/s.txt", "other/b.txt"}) {
        fs::create_directories((root / file).parent_path());
        test::WriteBytes((root / file).string(), "x");
    }
    fs::create_directory_symlink(root / "sys", root / "tree/to-sys");
    fs::create_directory_symlink(root / "other", root / "tree/to-other");
    fs::create_directory_symlink(root / "tree", root / "via");
    const std::string r = root.string();
    std::string table = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n";
    for (const auto& [id, at, type] : {std::tuple{2, "/tree/proc", "proc"},
                                       {3, "/tree/dev", "devtmpfs"},
                                       {4, "/tree/dev/pts", "devpts"},
                                       {5, "/tree/tmp", "tmpfs"},
                                       {6, "/sys", "sysfs"}})
        table += std::to_string(id) + " 1 0:" + std::to_string(id) + " / " + r + at + " rw - " +
                 type + " x rw\n";
    const struct {
        std::string searched;
        std::vector<std::string> found;
    } cases[] = {
        {"tree", {"tree/keep/a.txt", "tree/tmp/t.txt", "tree/to-other/b.txt"}},
        {"via", {"via/keep/a.txt", "via/tmp/t.txt", "via/to-other/b.txt"}},
        {"tree/proc", {"tree/proc/1/p.txt"}},  // asked for by name
    };
    for (const auto& c : cases) {
        const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
        Catalogue doc;
        AutoSearch search(doc, *lister);
        search.mounts = MountTable::Parse(table);
        EXPECT_EQ(search.ScanFolder((root / c.searched).string(), nullptr),
                  SearchStatus::Completed);
        std::vector<std::string> paths;
        for (const Found& f : RelativeEntries(doc, root)) paths.push_back(f.path);
        EXPECT_EQ(paths, c.found) << c.searched;
    }
}

// Fifteen folders, each with one file and two links to the next: once inside the searched
// folder, once outside it behind two links.
TEST(AutoSearchOnDisk, FifteenLevelsOfTwoLinksRegisterFifteenFiles) {
    for (const bool outside : {false, true}) {
        SCOPED_TRACE(outside ? "outside" : "inside");
        test::TempFolder dir;
        const fs::path levels = dir.path() / "levels";
        for (int i = 1; i <= 15; ++i) {
            const fs::path level = levels / ("L" + std::to_string(i));
            fs::create_directories(level);
            test::WriteBytes((level / ("f" + std::to_string(i) + ".txt")).string(), "x");
            if (i == 15) continue;
            for (const char* link : {"a", "b"})
                fs::create_directory_symlink("../L" + std::to_string(i + 1), level / link);
        }
        fs::create_directories(dir.path() / "start");
        for (const char* link : {"a", "b"})
            fs::create_directory_symlink("../levels/L1", dir.path() / "start" / link);
        const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
        Catalogue doc;
        AutoSearch search(doc, *lister);
        search.ScanFolder(dir / (outside ? "start" : "levels"), nullptr);
        EXPECT_EQ(search.found, 15);
        std::set<std::string> titles;
        for (const Entry& e : doc.Entries()) titles.emplace(e.Title());
        EXPECT_EQ(titles.size(), 15u);  // no file twice under a numbered title
    }
}

// Linux tells letter case apart: these are four files in four folders.
TEST(AutoSearchOnDisk, NamesThatDifferOnlyInCaseAreDifferentFiles) {
    test::TempFolder dir;
    for (const char* file : {"Report.txt", "report.txt", "Docs/a.txt", "docs/a.txt"}) {
        fs::create_directories((dir.path() / file).parent_path());
        test::WriteBytes(dir / file, "x");
    }
    const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
    Catalogue doc;
    AutoSearch search(doc, *lister);
    search.ScanFolder(dir.path().string(), nullptr);
    EXPECT_EQ(RelativeEntries(doc, dir.path()), (std::vector<Found>{{"Docs/a.txt", "a"},
                                                                    {"docs/a.txt", "a1"},
                                                                    {"Report.txt", "Report"},
                                                                    {"report.txt", "report1"}}));
    EXPECT_TRUE(search.skipped.empty());
    search.ScanFolder(dir.path().string(), nullptr);
    EXPECT_EQ(search.found, 0);
}

TEST(AutoSearchOnDisk, UnreadableFolderIsReportedWithTheSystemsReason) {
    test::TempFolder dir;
    fs::create_directories(dir.path() / "locked");
    test::WriteBytes(dir / "locked/secret.txt", "x");
    ::chmod((dir / "locked").c_str(), 0);
    if (::access((dir / "locked").c_str(), R_OK) == 0)
        GTEST_SKIP() << "permissions do not bind root";
    const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
    Catalogue doc;
    AutoSearch search(doc, *lister);
    search.ScanFolder(dir.path().string(), nullptr);
    ASSERT_EQ(search.unlistable.size(), 1u);
    EXPECT_EQ(search.unlistable[0].why.reason(), std::strerror(EACCES));
    EXPECT_EQ(search.unlistable[0].why.code(), StatusCode::PermissionDenied);
}

// Works as root too: a folder whose full path is longer than the system accepts cannot be
// opened by anyone.
TEST(AutoSearchOnDisk, FolderBeyondThePathLimitIsReported) {
    test::TempFolder dir;
    const std::string part(200, 'd');
    int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int depth = 0; depth < 25; ++depth) {
        ASSERT_EQ(::mkdirat(fd, part.c_str(), 0755), 0);
        const int next = ::openat(fd, part.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    ::close(fd);
    test::WriteBytes(dir / "shallow.txt", "x");
    const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
    Catalogue doc;
    AutoSearch search(doc, *lister);
    ScriptedListener listener;
    EXPECT_EQ(search.ScanFolder(dir.path().string(), &listener), SearchStatus::Completed);
    EXPECT_EQ(search.found, 1);
    ASSERT_EQ(listener.asked.size(), 1u);
    EXPECT_GT(listener.asked[0].size(), 4000u);
    EXPECT_EQ(search.unlistable[0].why.reason(), "File name too long");
}
#endif

TEST(AutoSearchOnDisk, MissingFolderCannotBeListed) {
    const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
    Catalogue doc;
    AutoSearch search(doc, *lister);
    ScriptedListener listener;
    listener.answer = UnlistableFolder::Stop;
    EXPECT_EQ(search.ScanFolder("/no/such/folder", &listener), SearchStatus::Stopped);
    EXPECT_EQ(search.found, 0);
}

}  // namespace
}  // namespace kantoria
