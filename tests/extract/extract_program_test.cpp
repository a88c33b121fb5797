// kantoria-extract as the indexer runs it: exit code, standard output and the one line on
// standard error, for each way a document can turn out.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/os/serving_worker.h"
#include "extract/document_file.h"
#include "testing/content/make_document.h"

namespace kantoria {
namespace {

namespace fs = std::filesystem;
using test::DocFormat;

struct ProgramRun {
    int code = -1;
    std::string out, err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

ProgramRun RunExtract(const std::vector<std::string>& args, const fs::path& dir,
                      const char* path_env) {
    std::vector<std::string> argv = {KANTORIA_EXTRACT_BIN};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (std::string& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    std::string env = std::string("PATH=") + path_env;
    char* envp[] = {env.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (dir / "out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, (dir / "err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    ProgramRun run;
    if (posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), envp) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = Slurp(dir / "out");
    run.err = Slurp(dir / "err");
    return run;
}

bool FindConverter(const std::string& name) {
    return access(("/usr/bin/" + name).c_str(), X_OK) == 0;
}

class ExtractProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kantoria-extract-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Make(const std::string& name, DocFormat format,
                     const std::vector<std::string>& paragraphs) {
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(test::MakeDocument(path, format, paragraphs));
        return path;
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(test::WriteBytes(path, bytes));
        return path;
    }
    fs::path dir_;
};

TEST_F(ExtractProgram, ExitCodesTellHowTheDocumentTurnedOut) {
    const std::string fifo = (dir_ / "pipe.txt").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string bomb =
        Write("bomb.xlsx", test::ZipBytes({{"xl/workbook.xml", std::string(32u << 20, ' ')}}));
    struct Case {
        std::vector<std::string> args;
        const char* path_env;
        int code;
        std::string out, err;
    } cases[] = {
        {{Make("a.DOCX", DocFormat::Docx, {"日本語の本文"})},
         "/usr/bin:/bin",
         0,
         "日本語の本文\n",
         ""},
        {{"--max-text", "7", Make("b.txt", DocFormat::TextCp932, {"日本語"})},
         "",
         0,
         "日本",
         "truncated\n"},
        {{Write("c.doc", "not a Word file")},
         "/nonexistent",
         10,
         "",
         "no converter for .doc installed\n"},
        {{Write("d.unknown", "what")}, "", 10, "", "unknown format\n"},
        {{Write("e.docx", "random bytes, not a ZIP")}, "", 11, "", "not a ZIP archive\n"},
        {{bomb}, "", 11, "", "zip member compressed too far\n"},
        {{"--max-member", "1000", bomb}, "", 11, "", "zip member too large\n"},
        {{(dir_ / "missing.txt").string()}, "", 11, "", std::string(std::strerror(ENOENT)) + "\n"},
        {{fifo}, "", 12, "", "a named pipe\n"},
        {{dir_.string()}, "", 12, "", "a folder\n"},
        {{"--max-text", "x", fifo}, "", 2, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const ProgramRun run = RunExtract(c.args, dir_, c.path_env);
        EXPECT_EQ(run.code, c.code) << run.err;
        if (!c.out.empty()) {
            EXPECT_EQ(run.out, c.out);
        }
        if (!c.err.empty()) {
            EXPECT_EQ(run.err, c.err);
        }
    }
}

TEST_F(ExtractProgram, ServedAnswersAreWhatSeparateRunsGive) {
    std::vector<std::string> paths;
    for (const DocFormat format : test::AllDocFormats()) {
        const std::string name = "s" + std::to_string(paths.size()) + "." +
                                 std::string(test::DocFormatExtension(format));
        paths.push_back(Make(name, format, {"日本語の本文 " + name, "二段落目"}));
    }
    paths.push_back(Write("r.docx", "random bytes, not a ZIP"));
    paths.push_back(Write("u.unknown", "what"));
    paths.push_back((dir_ / "missing.txt").string());
    ServingWorker worker({KANTORIA_EXTRACT_BIN, "--serve"}, RunLimits{});
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        const ProgramRun run = RunExtract({path}, dir_, "/usr/bin:/bin");
        const RunOutcome served = worker.Ask(path);
        ASSERT_EQ(served.end, RunEnd::Exited);
        EXPECT_EQ(served.code, run.code);
        EXPECT_EQ(served.output, run.out);
        if (run.code != 0) {
            EXPECT_EQ(served.errorLine + "\n", run.err);
        }
    }
    // One program read them all.
    EXPECT_EQ(worker.starts(), 1);
}

TEST_F(ExtractProgram, LegacyConverterTextArrivesInUtf8) {
    if (!FindConverter("unrtf")) GTEST_SKIP() << "unrtf is not installed";
    for (const char* name : {"j.rtf", "rtf-saved-as.doc"}) {
        const ProgramRun run = RunExtract(
            {Write(name, "{\\rtf1\\ansi \\u26085?\\u26412? rtf\\par}")}, dir_, "/usr/bin:/bin");
        EXPECT_EQ(run.code, 0) << name << ": " << run.err;
        EXPECT_NE(run.out.find("日本"), std::string::npos) << name << ": " << run.out;
    }
}

TEST_F(ExtractProgram, AFileThatChangesOrVanishesWhileReadIsNoticed) {
    struct Case {
        const char* what;
        void (*change)(const std::string& path);
    } cases[] = {
        {"grown", [](const std::string& p) { std::ofstream(p, std::ios::app) << "more"; }},
        {"removed", [](const std::string& p) { fs::remove(p); }},
        {"replaced",
         [](const std::string& p) {
             fs::remove(p);
             std::ofstream(p) << "same";
         }},
    };
    for (const Case& c : cases) {
        const std::string path = Write("f.txt", "same");
        DocumentFile file;
        ASSERT_TRUE(file.Open(path).ok());
        EXPECT_TRUE(file.CheckUnchanged().ok()) << c.what;
        c.change(path);
        EXPECT_EQ(file.CheckUnchanged().outcome, Outcome::Changed) << c.what;
    }
}

}  // namespace
}  // namespace kantoria
