#include "cli/cli_commands.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <pthread.h>

#include <sstream>

#include "cli/json_writer.h"
#include "cli/missing_command.h"
#include "cli/search_command.h"
#include "cli/types_command.h"
#include "testing/core/file_types_memory.h"
#include "testing/core/scripted_probe.h"
#include "testing/core/test_files.h"

namespace kantoria {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

struct Result {
    int status;
    std::string out, err;
};

Result RunCli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = cli::Run(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(Cli, DumpsTheCatalogueAsJson) {
    TempFolder dir;
    WriteBytes(dir / "c.ZNL",
               "SELECTED=\x95\x5C\r\nLASTHOLDER=Docs\r\nTITLEWIDTH=10\r\n"
               "C:\\Docs\\a.txt\t\x95\x5C\tline\tnext\r\nc:\\docs\\b.txt\tb\t\r\n"
               "D:\\x\\\x81.txt\t\x85\x5C\t\r\n");
    const Result r = RunCli({"dump", dir / "c.ZNL"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["encoding"], "cp932");
    EXPECT_EQ(json["selected"], "表");
    EXPECT_EQ(json["lastHolder"], "Docs");
    EXPECT_EQ(json["titleWidth"], 10);
    EXPECT_EQ(json["commentWidth"], 400);
    ASSERT_EQ(json["entries"].size(), 3u);
    EXPECT_EQ(json["entries"][0]["comment"], "line\nnext");
    EXPECT_EQ(json["entries"][2]["path"], "D:\\x\\\uFFFD.txt");
    EXPECT_EQ(json["entries"][2]["title"], "\uFFFD\uFFFD");
    EXPECT_EQ(json["holders"], nlohmann::json::array({"C:\\Docs\\", "D:\\x\\"}));
    // The keys come in the documented order.
    EXPECT_LT(r.out.find("\"encoding\""), r.out.find("\"selected\""));
    EXPECT_LT(r.out.find("\"entries\""), r.out.find("\"holders\""));
}

// Output is written while it is produced; it must read byte for byte as a whole document dumped
// by nlohmann would, escapes and malformed UTF-8 included.
TEST(CliJson, StreamedOutputIsTheDumpOfTheSameValue) {
    const std::vector<std::string> texts = {"",
                                            "plain",
                                            "\"\\/\b\f\n\r\t\x01\x1f\x7f",
                                            "表\u00e9\U0001F600",
                                            "\xFF",
                                            "a\xC3",
                                            "\xC3(",
                                            "\xED\xA0\x80",
                                            "\xE0\x80\x80",
                                            "\xF4\x90\x80\x80",
                                            "x\xF0\x9F\x98"};
    nlohmann::ordered_json expected;
    expected["texts"] = texts;
    expected["none"] = nlohmann::ordered_json::array();
    expected["nested"] = {{{"n", -7}, {"z", nullptr}, {"o", nlohmann::ordered_json::object()}}};
    std::ostringstream out;
    {
        cli::JsonWriter json(out);
        json.BeginObject();
        json.Key("texts");
        json.BeginArray();
        for (const std::string& text : texts) json.String(text);
        json.EndArray();
        json.Key("none");
        json.BeginArray();
        json.EndArray();
        json.Key("nested");
        json.BeginArray();
        json.BeginObject();
        json.Key("n");
        json.Number(-7);
        json.Key("z");
        json.Null();
        json.Key("o");
        json.BeginObject();
        json.EndObject();
        json.EndObject();
        json.EndArray();
        json.EndObject();
    }
    EXPECT_EQ(
        out.str(),
        expected.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n");
}

// list and tree show and order text as the window does: twin codes as their character, in
// the order of the code page 932 bytes.
TEST(Cli, ListAndTreeFollowTheWindowsOrderAndShowTwinCodes) {
    TempFolder dir;
    WriteBytes(dir / "j.ZNL",
               "SELECTED=\r\nLASTHOLDER=C:\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\n"
               "PATHWIDTH=250\r\n"
               "C:\\\x95\xF1\x8D\x90\\a\t\x95\xF1\x8D\x90\x8F\x91\t\r\n"  // 報告\a 報告書
               "C:\\\x94\x84\x8F\xE3\\b\t\x94\x84\x8F\xE3\t\r\n"          // 売上\b 売上
               "C:\\c\t\xEE\xE0\t\r\n"                                    // 髙 as EEE0
               "C:\\d\t\x95\xB6\x8F\x91\t\r\n");                          // 文書
    const Result list = RunCli({"list", dir / "j.ZNL"});
    ASSERT_EQ(list.status, 0) << list.err;
    std::vector<std::string> titles;
    const auto listed = nlohmann::json::parse(list.out);
    for (const auto& e : listed["entries"]) titles.push_back(e["title"]);
    EXPECT_EQ(titles, (std::vector<std::string>{"文書", "髙"}));
    const Result tree = RunCli({"tree", dir / "j.ZNL"});
    ASSERT_EQ(tree.status, 0) << tree.err;
    std::vector<std::string> labels;
    const auto top = nlohmann::json::parse(tree.out)[0];
    for (const auto& node : top["children"]) labels.push_back(node["label"]);
    EXPECT_EQ(labels, (std::vector<std::string>{"売上", "報告"}));

    // With --folders the top-level holders hang under the folders they share.
    WriteBytes(dir / "f.ZNL", "/usr/share/doc/b/y\ty\t\r\n/usr/share/doc/a/x\tx\t\r\n");
    const Result folders = RunCli({"tree", "--folders", dir / "f.ZNL"});
    ASSERT_EQ(folders.status, 0) << folders.err;
    const auto grey = nlohmann::json::parse(folders.out);
    ASSERT_EQ(grey.size(), 1u);
    EXPECT_EQ(grey[0]["label"], "/usr/share/doc");
    EXPECT_EQ(grey[0]["holder"], false);
    EXPECT_EQ(grey[0]["children"][0]["label"], "a");
    EXPECT_FALSE(grey[0]["children"][0].contains("holder"));
}

// The tree is as deep as a path is long: printing it must not recurse, which a thread with a
// small stack would not survive at this depth.
TEST(Cli, TreePrintsADeepChainWithoutRecursion) {
    constexpr int kDepth = 3000;
    TempFolder dir;
    std::string file;
    for (int depth = 1; depth <= kDepth; ++depth)
        file += std::string(static_cast<std::size_t>(depth), '/') + "f\tf\t\r\n";
    WriteBytes(dir / "deep.ZNL", file);
    struct Call {
        std::string catalogue;
        Result result;
    } call{dir / "deep.ZNL", {}};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 1024 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attr,
                  [](void* arg) -> void* {
                      auto* c = static_cast<Call*>(arg);
                      c->result = RunCli({"tree", c->catalogue});
                      return nullptr;
                  },
                  &call),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    ASSERT_EQ(call.result.status, 0) << call.result.err;
    const auto top = nlohmann::json::parse(call.result.out);
    int depth = 0;
    for (const nlohmann::json* level = &top; !level->empty(); level = &(*level)[0]["children"]) {
        ASSERT_EQ(level->size(), 1u);
        ++depth;
    }
    EXPECT_EQ(depth, kDepth);
}

TEST(Cli, CopyWritesUndecodableBytesBackUnchanged) {
    TempFolder dir;
    const std::string original =
        "SELECTED=\x87\x9A\r\nLASTHOLDER=\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\n"
        "PATHWIDTH=250\r\nD:\\x\\\xFF\x80.txt\t\x85\x5C\t\x81\r\n";
    WriteBytes(dir / "in.ZNL", original);
    const Result r = RunCli({"copy", dir / "in.ZNL", dir / "out.ZNL"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir / "out.ZNL"), original);
    EXPECT_EQ(ReadBytes(dir / "in.ZNL"), original);
}

TEST(Cli, FindPrintsMatchesInCatalogueOrderWithTheirHolder) {
    TempFolder dir;
    WriteBytes(dir / "f.ZNL",
               "SELECTED=\r\nLASTHOLDER=\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\n"
               "PATHWIDTH=250\r\n"
               "C:\\Docs\\b.txt\t\x95\xF1\x8D\x90\tSales\r\n"    // 報告
               "C:\\Other\\c.txt\t\x83\x81\x83\x82\t\r\n"        // メモ
               "c:\\docs\\a.txt\t\xB6\xC0\xB6\xC5\tsales\r\n");  // ｶﾀｶﾅ
    const Result r = RunCli({"find", dir / "f.ZNL", "SALES　docs"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out), nlohmann::json::parse(R"({"matches": [
        {"title": "報告", "comment": "Sales", "path": "C:\\Docs\\b.txt", "holder": "C:\\Docs\\"},
        {"title": "ｶﾀｶﾅ", "comment": "sales", "path": "c:\\docs\\a.txt", "holder": "C:\\Docs\\"}
    ]})"));
    const Result kana = RunCli({"find", dir / "f.ZNL", "かたかな"});
    EXPECT_EQ(nlohmann::json::parse(kana.out)["matches"].size(), 1u);
    const Result none = RunCli({"find", dir / "f.ZNL", "nothing"});
    EXPECT_EQ(none.out, "{\n  \"matches\": []\n}\n");
}

struct FailureCase {
    std::vector<std::string> args;
    int status;
};

// Each command line fails with its status, prints nothing and says why on one line.
template <std::size_t N>
void ExpectFailures(const FailureCase (&cases)[N]) {
    for (const FailureCase& c : cases) {
        const Result r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status) << ::testing::PrintToString(c.args);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

TEST(Cli, FailuresSayWhyOnOneLineAndWriteNothing) {
    TempFolder dir;
    const std::string missing = dir / "missing.ZNL";
    const std::string out = dir / "out.ZNL";
    const FailureCase cases[] = {
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"dump"}, 2},
        {{"dump", "a", "b"}, 2},
        {{"copy", missing}, 2},
        {{"dump", missing}, 1},
        {{"copy", missing, out}, 1},
        {{"copy", missing, dir.path().string()}, 1},
        {{"types", "extra"}, 2},
        {{"find", missing}, 2},
        {{"find", missing, "a", "b"}, 2},
        {{"find", missing, "a"}, 1},
        {{"missing"}, 2},
        {{"missing", missing, "extra"}, 2},
        {{"missing", missing}, 1},
    };
    for (const FailureCase& c : cases) {
        const Result r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status) << ::testing::PrintToString(c.args);
        EXPECT_TRUE(r.out.empty());
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    EXPECT_EQ(RunCli({"--help"}).status, 0);
}

TEST(CliMissing, ListsEntriesWhoseFileIsNotThereInCatalogueOrder) {
    TempFolder dir;
    WriteBytes(dir / "here.txt", "x");
    // Shared paths are looked at once; a Windows path names nothing here.
    WriteBytes(dir / "c.ZNL",
               "SELECTED=\r\nLASTHOLDER=\r\n" + dir / "here.txt" + "\there\t\r\n" +
                   dir / "gone.txt" +
                   "\tgone\t\r\nC:\\\x95\xB6\x8F\x91\\a.doc\t\x95\xB6\x8F\x91\t\r\n" +
                   dir.path().string() + "\tfolder\t\r\n" + dir / "gone.txt" + "\tagain\t\r\n");
    const Result r = RunCli({"missing", dir / "c.ZNL"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["checked"], 5);
    EXPECT_EQ(json["missing"], nlohmann::json::array({
                                   {{"title", "gone"}, {"path", dir / "gone.txt"}},
                                   {{"title", "文書"}, {"path", "C:\\文書\\a.doc"}},
                                   {{"title", "again"}, {"path", dir / "gone.txt"}},
                               }));
    EXPECT_EQ(json["unknown"], nlohmann::json::array());

    // What the file system does not answer in time is neither missing nor present.
    const auto probe = std::make_shared<test::ScriptedProbe>();
    WriteBytes(
        dir / "h.ZNL",
        "SELECTED=\r\nLASTHOLDER=\r\nC:\\hung\tslow\t\r\nC:\\mgone\tgone\t\r\nC:\\ok\tok\t\r\n");
    std::ostringstream out, err;
    ASSERT_EQ(cli::MissingCommand({dir / "h.ZNL"}, out, err, probe,
                                  {.workers = 2, .patience = std::chrono::milliseconds(20)}),
              0);
    const auto hung = nlohmann::json::parse(out.str());
    EXPECT_EQ(hung["missing"], nlohmann::json::parse(R"([{"title":"gone","path":"C:\\mgone"}])"));
    EXPECT_EQ(hung["unknown"], nlohmann::json::parse(R"([{"title":"slow","path":"C:\\hung"}])"));
    probe->Release();
}

TEST(Cli, TypesMarksTheLineChosenAtOpening) {
    MemoryFileTypes types;
    ASSERT_TRUE(types
                    .AddTable("ext\t.txt\tT\ntype\tT\tテキスト\n"
                              "ext\t.doc\tD\ntype\tD\tWord 文書\n"
                              "ext\t.bin\n")
                    .ok());
    std::ostringstream out;
    cli::PrintExtensionBox(types, out);
    EXPECT_EQ(out.str(), "* .doc  Word 文書\n  .txt  テキスト\n");
}

}  // namespace
}  // namespace kantoria

namespace kantoria {
namespace {

TEST(CliSearch, RegistersFilesSavesTheCatalogueAndReports) {
    TempFolder dir;
    std::filesystem::create_directories(dir.path() / "docs/sub");
    WriteBytes(dir / "docs/報告.doc", "x");
    WriteBytes(dir / "docs/sub/memo.DOC", "x");
    WriteBytes(dir / "docs/sub/note.txt", "x");
    // A name that a catalogue line cannot hold; Windows names cannot hold a tab either.
#ifdef _WIN32
    const auto unstorable = nlohmann::json::array();
#else
    WriteBytes(dir / "docs/tab\there.doc", "x");
    const auto unstorable = nlohmann::json::array({dir / "docs/tab\there.doc"});
#endif
    const std::string catalogue = dir / "new.ZNL";

    Result r = RunCli({"search", catalogue, dir / "docs", "--ext", ".doc"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["found"], 2);
    EXPECT_EQ(json["skipped"], unstorable);
    EXPECT_EQ(json["unreadable"], nlohmann::json::array());
    // Created in code page 932, with the Japanese title and the search's comment.
    const std::string bytes = ReadBytes(catalogue);
    EXPECT_NE(bytes.find("\x95\xF1\x8D\x90\t\x8E\xA9\x93\xAE\x8C\x9F\x8D\xF5"), std::string::npos);

    r = RunCli({"search", catalogue, dir / "docs", "--no-subfolders"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["found"], 0);  // 報告.doc is registered already
    r = RunCli({"search", catalogue, dir / "docs"});
    EXPECT_EQ(nlohmann::json::parse(r.out)["found"], 1);  // note.txt
    r = RunCli({"dump", catalogue});
    EXPECT_EQ(nlohmann::json::parse(r.out)["entries"].size(), 3u);
}

TEST(CliSearch, Failures) {
    TempFolder dir;
    std::filesystem::create_directories(dir.path() / "docs");
    WriteBytes(dir / "docs/a.txt", "x");
    std::filesystem::create_directories(dir.path() / "folder.ZNL");
    const FailureCase cases[] = {
        {{"search", dir / "c.ZNL"}, 2},
        {{"search", dir / "c.ZNL", dir / "docs", "--ext"}, 2},
        {{"search", dir / "c.ZNL", dir / "docs", "--ext", "doc"}, 2},
        {{"search", dir / "c.ZNL", dir / "docs", "--bogus"}, 2},
        {{"search", dir / "c.ZNL", dir / "missing"}, 1},
        {{"search", dir / "folder.ZNL", dir / "docs"}, 1},
    };
    ExpectFailures(cases);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "c.ZNL"));
}

// A relative folder is taken from the working directory; a search of the catalogue's own
// folder leaves out the catalogue and what its saves leave beside it.
TEST(CliSearch, RelativeFolderAndTheCataloguesOwnFiles) {
    TempFolder dir;
    std::filesystem::create_directories(dir.path() / "docs");
    WriteBytes(dir / "docs/a.txt", "x");
    WriteBytes(dir / "docs/c.ZNL", "");
    WriteBytes(dir / "docs/.c.ZNL.tmp4242-0-17", "dead save");
    WriteBytes(dir / "docs/.d.ZNL.tmp1", "another catalogue's");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const Result r = RunCli({"search", "docs/../docs/c.ZNL", "./docs/"});
    std::filesystem::current_path(before);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["found"], 2);
    const auto dump = nlohmann::json::parse(RunCli({"dump", dir / "docs/c.ZNL"}).out);
    std::vector<std::string> paths;
    for (const auto& entry : dump["entries"]) paths.push_back(entry["path"]);
    EXPECT_EQ(paths, (std::vector<std::string>{dir / "docs/.d.ZNL.tmp1", dir / "docs/a.txt"}));
}

// Another program's save while the search walks: the search fails rather than write over it.
TEST(CliSearch, ACatalogueChangedDuringTheWalkIsLeftAlone) {
    struct WriterMidWalk final : FolderLister {
        std::unique_ptr<FolderLister> system = MakeSystemFolderLister();
        std::filesystem::path catalogue;
        Status List(const std::string& folder, std::vector<FolderItem>& items,
                    FolderId& id) override {
            WriteBytes(catalogue.string() + ".new", "/their/file.txt\ttheirs\t\r\n");
            std::filesystem::rename(catalogue.string() + ".new", catalogue);
            return system->List(folder, items, id);
        }
        Status ResolvePath(const std::string& path, std::string& resolved) override {
            return system->ResolvePath(path, resolved);
        }
        char Separator() const override { return system->Separator(); }
    } lister;
    TempFolder dir;
    std::filesystem::create_directories(dir.path() / "docs");
    WriteBytes(dir / "docs/a.txt", "x");
    lister.catalogue = dir / "c.ZNL";
    WriteBytes(dir / "c.ZNL", "/mine.txt\tmine\t\r\n");
    std::ostringstream out, err;
    EXPECT_EQ(cli::SearchCommand({dir / "c.ZNL", dir / "docs"}, out, err, lister), 1);
    EXPECT_NE(err.str().find("changed by another program"), std::string::npos) << err.str();
    EXPECT_EQ(ReadBytes(dir / "c.ZNL"), "/their/file.txt\ttheirs\t\r\n");
}

}  // namespace
}  // namespace kantoria

namespace kantoria {
namespace {

// 書類 and 報告 in code page 932.
#define SHORUI "\x8F\x91\x97\xDE"
#define HOKOKU "\x95\xF1\x8D\x90"

TEST(CliCsv, ExportThenImportIntoAnEmptyCatalogueGivesTheSameEntries) {
    TempFolder dir;
    WriteBytes(dir / "c.ZNL",
               "C:\\Docs\\a.txt\t\x95\x5C\t=1+1\tnext, line\r\n"
               "c:\\docs\\b.txt\t\"q\"\t\r\nD:\\x\\\x81.txt\tbad\t\r\n");
    Result r = RunCli({"export", dir / "c.ZNL", dir / "out.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["undecodable"], 1);
    EXPECT_EQ(ReadBytes(dir / "out.csv").rfind("\xEF\xBB\xBF", 0), 0u);

    r = RunCli({"import", dir / "new.ZNL", dir / "out.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["added"], 3);
    EXPECT_EQ(json["skipped"], nlohmann::json::array());
    // The undecodable byte comes back as U+FFFD, which dump shows alike.
    EXPECT_EQ(nlohmann::json::parse(RunCli({"dump", dir / "new.ZNL"}).out)["entries"],
              nlohmann::json::parse(RunCli({"dump", dir / "c.ZNL"}).out)["entries"]);

    r = RunCli({"import", dir / "new.ZNL", dir / "out.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["added"], 0);
    ASSERT_EQ(json["skipped"].size(), 3u);
    EXPECT_EQ(json["skipped"][1],
              nlohmann::json(
                  {{"line", 3}, {"path", "c:\\docs\\b.txt"}, {"reason", "already registered"}}));

    // A quote left open is said with its row; nothing after it is taken.
    WriteBytes(dir / "open.csv", "path,title,comment\r\nC:\\o.txt,\"open\r\nC:\\p.txt,p,\r\n");
    r = RunCli({"import", dir / "new.ZNL", dir / "open.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(
        nlohmann::json::parse(r.out)["skipped"],
        nlohmann::json::parse(R"([{"line": 2, "path": "C:\\o.txt", "reason": "unclosed quote"}])"));
    EXPECT_NE(r.err.find("unclosed quote from row 2"), std::string::npos) << r.err;
}

TEST(CliCsv, Failures) {
    TempFolder dir;
    WriteBytes(dir / "c.ZNL", "C:\\a.txt\ta\t\r\n");
    WriteBytes(dir / "bad.csv", "name,value\r\nx,y\r\n");
    const FailureCase cases[] = {
        {{"export", dir / "c.ZNL"}, 2},
        {{"import", dir / "c.ZNL"}, 2},
        {{"export", dir / "missing.ZNL", dir / "out.csv"}, 1},
        {{"export", dir / "c.ZNL", dir.path().string()}, 1},
        {{"import", dir / "c.ZNL", dir / "missing.csv"}, 1},
        {{"import", dir / "c.ZNL", dir / "bad.csv"}, 1},
    };
    ExpectFailures(cases);
    EXPECT_EQ(ReadBytes(dir / "c.ZNL"), "C:\\a.txt\ta\t\r\n");
}

TEST(CliRelocate, MovesAFolderSavesAndListsWhatStays) {
    TempFolder dir;
    const std::string catalogue = dir / "c.ZNL";
    const std::string original = "SELECTED=A\r\nLASTHOLDER=C:\\" SHORUI "\\" HOKOKU
                                 "\r\nTITLEWIDTH=200\r\n"
                                 "COMMENTWIDTH=400\r\nPATHWIDTH=250\r\n"
                                 "C:\\" SHORUI "\\" HOKOKU
                                 "\\a.doc\tA\tnote\r\n"
                                 "c:\\" SHORUI
                                 "\\b.doc\tB\t\r\n"
                                 "C:\\" SHORUI
                                 "2\\c.doc\tC\t\r\n"
                                 "C:\\\xFF.txt\tRaw\t\r\n"
                                 "/home/u/" SHORUI "/b.doc\tTaken\t\r\n";
    WriteBytes(catalogue, original);
    const nlohmann::json expected = {
        {"moved", 1},
        {"conflicts",
         {{{"title", "B"}, {"path", "c:\\書類\\b.doc"}, {"to", "/home/u/書類/b.doc"}}}},
        {"switchedToUtf8", false},
        {"undecodable", 0}};

    Result r = RunCli({"relocate", catalogue, "C:\\書類\\", "/home/u/書類", "--dry-run"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out), expected);
    EXPECT_EQ(ReadBytes(catalogue), original);

    r = RunCli({"relocate", catalogue, "C:\\書類", "/home/u/書類"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out), expected);
    // Still code page 932; the shown holder followed its folder.
    EXPECT_EQ(ReadBytes(catalogue), "SELECTED=A\r\nLASTHOLDER=" SHORUI "\\" HOKOKU
                                    "\r\nTITLEWIDTH=200\r\n"
                                    "COMMENTWIDTH=400\r\nPATHWIDTH=250\r\n"
                                    "/home/u/" SHORUI "/" HOKOKU
                                    "/a.doc\tA\tnote\r\n"
                                    "c:\\" SHORUI
                                    "\\b.doc\tB\t\r\n"
                                    "C:\\" SHORUI
                                    "2\\c.doc\tC\t\r\n"
                                    "C:\\\xFF.txt\tRaw\t\r\n"
                                    "/home/u/" SHORUI "/b.doc\tTaken\t\r\n");
}

TEST(CliRelocate, Failures) {
    TempFolder dir;
    const std::string catalogue = dir / "c.ZNL";
    WriteBytes(catalogue, "C:\\a\\b.txt\tB\t\r\n");
    const FailureCase cases[] = {
        {{"relocate", catalogue, "C:\\a"}, 2},
        {{"relocate", catalogue, "C:\\a", "/a", "extra"}, 2},
        {{"relocate", catalogue, "C:\\a", "/a", "--bogus"}, 2},
        {{"relocate", catalogue, "", "/a"}, 2},
        {{"relocate", dir / "missing.ZNL", "C:\\a", "/a"}, 1},
        {{"relocate", dir.path().string(), "C:\\a", "/a"}, 1},
    };
    ExpectFailures(cases);
    EXPECT_EQ(ReadBytes(catalogue), "C:\\a\\b.txt\tB\t\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing.ZNL"));
}

#undef SHORUI
#undef HOKOKU

}  // namespace
}  // namespace kantoria
