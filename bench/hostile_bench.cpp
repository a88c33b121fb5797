// Times catalogues of hostile shapes beside a plain catalogue of the same size, in one run:
// kantoria-cli's copy and tree of each file, and what the window does when it opens one (load,
// holders, icons and the holder tree pane filled and laid out, offscreen). Every shape should
// take at most twice the plain file's time. A report, not a test: it exits 0 whatever the
// figures, and non-zero only when something could not be done.
//
// Usage: kantoria-bench-hostile --cli PATH [--dir DIR] [--entries N] [--runs N]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/icons/rebuild_icons.h"
#include "core/os/environment.h"
#include "testing/core/desktop_shell_memory.h"
#include "testing/core/file_types_memory.h"
#include "testing/core/stand_in_icons.h"
#include "testing/ui/scripted_message_boxes.h"
#include "ui/views/holder_tree_view.h"

extern char** environ;

namespace kantoria {
namespace {

namespace fs = std::filesystem;

constexpr double kGoal = 2.0;  // in multiples of the plain file's time

struct Options {
    std::string cli;
    fs::path dir = "/tmp/kantoria-bench-hostile";
    std::size_t entries = 200000;
    int runs = 3;
};

struct Shape {
    std::string name;
    fs::path file;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A plain catalogue: one folder per 50 entries, distinct titles, a comment on every third.
std::string Plain(std::size_t entries) {
    std::string text = "SELECTED=\r\nLASTHOLDER=\r\n";
    for (std::size_t i = 0; i < entries; ++i) {
        text += "C:\\Documents\\Projects\\folder" + std::to_string(i / 50) + "\\report" +
                std::to_string(i) + ".doc\tQuarterly report " + std::to_string(i) + "\t" +
                (i % 3 == 0 ? "reviewed\tsent on" : "") + "\r\n";
    }
    return text;
}

// Distinct paths that all share one title.
std::string SameTitle(std::size_t entries) {
    std::string text;
    for (std::size_t i = 0; i < entries; ++i)
        text += "C:\\Documents\\Projects\\folder" + std::to_string(i / 50) + "\\report" +
                std::to_string(i) + ".doc\tcopy\t\r\n";
    return text;
}

// One path of bytes slashes, its folder as long as the whole file.
std::string LongPath(std::size_t bytes) {
    return std::string(bytes, '/') + "f\tf\t\r\n";
}

// Holders /a/, /a/a/, ... each hanging under the one before, as deep as bytes allow, with the
// deepest one shown, so that the window opens the whole chain.
std::string DeepChain(std::size_t bytes) {
    std::string folder = "/", lastHolder, body;
    while (body.size() + folder.size() * 2 < bytes) {
        body += folder + "f\tf\t\r\n";
        folder += "a/";
        lastHolder += "\\a";
    }
    return "LASTHOLDER=" + lastHolder + "\r\n" + body;
}

bool Write(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

// Runs the program with its output thrown away; answers its wall time, or a negative value
// when it could not run or failed.
double RunProgram(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    int status = -1;
    const double seconds = Seconds([&] {
        pid_t pid;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return;
        waitpid(pid, &status, 0);
    });
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

// What the window does when it opens a catalogue, up to the holder tree pane on the screen.
double OpenInWindow(const fs::path& file) {
    MemoryFileTypes types;
    StandInIconFactory icons;
    ProcessEnvironment environment;
    RecordingDesktopShell shell;
    ScriptedMessageBoxes messages;
    Catalogue doc;
    HolderTreeView view(doc, shell, messages);
    view.resize(300, 600);
    view.show();
    QCoreApplication::processEvents();
    bool ok = true;
    const double seconds = Seconds([&] {
        ok = doc.LoadCatalogue(file.string()).ok();
        doc.RebuildHolders();
        RebuildIcons(doc, {types, icons, environment});
        doc.UpdateAllViews(nullptr);
        QCoreApplication::processEvents();
    });
    return ok ? seconds : -1;
}

int ParseOptions(int argc, char** argv, Options& opt) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 == argc) return 1;
        const char* value = argv[++i];
        if (arg == "--cli")
            opt.cli = value;
        else if (arg == "--dir")
            opt.dir = value;
        else if (arg == "--entries")
            opt.entries = std::strtoull(value, nullptr, 10);
        else if (arg == "--runs")
            opt.runs = std::max(1, std::atoi(value));
        else
            return 1;
    }
    return opt.cli.empty() || opt.entries == 0 ? 1 : 0;
}

int Main(int argc, char** argv) {
    Options opt;
    if (ParseOptions(argc, argv, opt) != 0) {
        std::fputs(
            "usage: kantoria-bench-hostile --cli PATH [--dir DIR] [--entries N] [--runs N]\n",
            stderr);
        return 2;
    }
    fs::create_directories(opt.dir);
    const std::string plain = Plain(opt.entries);
    const std::vector<std::pair<std::string, std::string>> contents = {
        {"plain", plain},
        {"one title", SameTitle(opt.entries)},
        {"empty lines", std::string(opt.entries, '\n')},
        {"one long path", LongPath(plain.size())},
        {"deep chain", DeepChain(plain.size())},
    };
    std::vector<Shape> shapes;
    for (const auto& [name, bytes] : contents) {
        std::string stem = name;
        std::replace(stem.begin(), stem.end(), ' ', '-');
        Shape shape{name, opt.dir / (stem + ".ZNL")};
        if (!Write(shape.file, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", shape.file.c_str());
            return 1;
        }
        std::printf("%-14s %10zu bytes\n", name.c_str(), bytes.size());
        shapes.push_back(shape);
    }
    const fs::path copy = opt.dir / "copy.ZNL";
    std::printf("\n%-14s %10s %10s %10s   (median of %d runs, seconds; ratio to plain)\n", "",
                "cli copy", "cli tree", "window", opt.runs);
    double plainTimes[3] = {0, 0, 0};
    bool failed = false;
    for (const Shape& shape : shapes) {
        std::vector<double> times[3];
        for (int run = 0; run < opt.runs; ++run) {
            times[0].push_back(RunProgram({opt.cli, "copy", shape.file.string(), copy.string()}));
            times[1].push_back(RunProgram({opt.cli, "tree", shape.file.string()}));
            times[2].push_back(OpenInWindow(shape.file));
        }
        std::printf("%-14s", shape.name.c_str());
        for (int k = 0; k < 3; ++k) {
            const double t = Median(times[k]);
            if (t < 0) failed = true;
            if (&shape == &shapes.front()) plainTimes[k] = t;
            const double ratio = plainTimes[k] > 0 ? t / plainTimes[k] : 0;
            std::printf(" %7.3f %4.1fx%s", t, ratio, ratio > kGoal ? "!" : " ");
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    fs::remove(copy);
    std::printf("\ngoal: every shape within %.0fx the plain file's time ('!' marks a miss)\n",
                kGoal);
    return failed ? 1 : 0;
}

}  // namespace
}  // namespace kantoria

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return kantoria::Main(argc, argv);
}
