#include "cli/cli_commands.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "cli/types_command.h"
#include "platform/file_types_memory.h"
#include "test_files.h"

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
               "D:\\x\\\xFF.txt\t\x85\x5C\t\r\n");
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

struct FailureCase {
    std::vector<std::string> args;
    int status;
};

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
