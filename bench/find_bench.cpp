// Times one keystroke of the find field over a large catalogue, against the floor of a plain
// `grep -c -F WORD` over a UTF-8 copy of the same catalogue (made with iconv), both in the
// same run. A report, not a test: it exits 0 whatever the figures, and non-zero only when
// something could not be done.
//
// Usage: kantoria-bench-find [--dir DIR] [--entries N] [--runs N]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/text/find_fold.h"
#include "core/text/text_codec.h"
#include "core/views/entry_find.h"
#include "testing/core/catalogue_generator.h"

extern char** environ;

namespace {

using namespace kantoria;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kKeystrokeGoalMs = 100;

struct Options {
    std::string dir = "/tmp/kantoria-bench";
    std::size_t entries = 1000000;
    int runs = 7;
};

double Ms(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs argv with stdout to out (a file, or /dev/null); answers the exit status, -1 when it
// could not start.
int Spawn(std::vector<std::string> args, const std::string& out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The first chars characters of text from character from.
std::string Chars(std::string_view text, std::size_t from, std::size_t chars) {
    std::size_t begin = 0;
    for (std::size_t i = 0; i < from && begin < text.size(); ++i)
        begin += CharLengthAt(text, begin, Encoding::Utf8);
    std::size_t end = begin;
    for (std::size_t i = 0; i < chars && end < text.size(); ++i)
        end += CharLengthAt(text, end, Encoding::Utf8);
    return std::string(text.substr(begin, end - begin));
}

int Run(const Options& opt) {
    std::error_code ec;
    fs::create_directories(opt.dir, ec);
    const std::size_t folders = std::max<std::size_t>(1, opt.entries / 50);
    const std::string file =
        (fs::path(opt.dir) / test::GeneratedCatalogueName(opt.entries, folders)).string();
    if (!fs::exists(file)) {
        std::printf("generating %zu entries into %s ...\n", opt.entries, file.c_str());
        if (!test::GenerateCatalogue(opt.entries, folders, file)) return 1;
    }
    const std::string utf8 = file + ".utf8";
    if (Spawn({"iconv", "-f", "CP932", "-t", "UTF-8", file}, utf8) != 0) {
        std::fprintf(stderr, "error: iconv could not convert %s\n", file.c_str());
        return 1;
    }

    Catalogue doc;
    const double loadMs = Ms([&] {
        if (!doc.LoadCatalogue(file)) std::exit(1);
    });
    FindIndex index;
    const double buildMs = Ms([&] { index.Update(doc.Entries(), doc.FileEncoding()); });
    const double rankMs = Ms([&] { index.FindInListOrder(FindWords("x")); });

    // Words as a user would type them, taken from the catalogue itself.
    const Entry& middle =
        *std::next(doc.Entries().begin(), static_cast<std::ptrdiff_t>(doc.Entries().size() / 2));
    const Entry& third =
        *std::next(doc.Entries().begin(), static_cast<std::ptrdiff_t>(doc.Entries().size() / 3));
    struct Query {
        std::string text, grepWord;
    };
    const std::vector<Query> queries = {
        {Chars(middle.Title(), 0, 1), Chars(middle.Title(), 0, 1)},
        {Chars(middle.Title(), 0, 2), Chars(middle.Title(), 0, 2)},
        {Chars(third.Comment(), 3, 4), Chars(third.Comment(), 3, 4)},
        {"doc", "doc"},
        {Chars(middle.Title(), 0, 2) + " " + Chars(middle.Comment(), 0, 2),
         Chars(middle.Title(), 0, 2)},
    };

    std::printf("Find benchmark: %s (%zu entries, %.1f MiB as UTF-8)\n", file.c_str(),
                doc.Entries().size(), static_cast<double>(fs::file_size(utf8)) / (1 << 20));
    std::printf(
        "  load %.0f ms; once per change of the entries: keys %.0f ms, the list's order of all "
        "entries (for a find of more than 20,000 hits) %.0f ms\n",
        loadMs, buildMs, rankMs);
    std::printf(
        "  medians of %d runs; find = one keystroke (keys up to date, rows in the "
        "list's order)\n\n",
        opt.runs);
    std::printf("  %-24s %9s %9s %9s %9s %7s  %s\n", "query", "matches", "find ms", "grep ms",
                "grep -c", "ratio", "goal < 100 ms");
    std::vector<double> all;
    for (const Query& q : queries) {
        const std::vector<std::string> words = FindWords(q.text);
        std::size_t matches = 0;
        std::vector<double> findMs, grepMs;
        for (int r = 0; r < opt.runs; ++r) {
            findMs.push_back(Ms([&] { matches = index.FindInListOrder(words).size(); }));
            grepMs.push_back(Ms([&] {
                Spawn({"grep", "-c", "-F", q.grepWord, utf8}, opt.dir + "/grep-count.txt");
            }));
        }
        std::string count;
        if (std::FILE* f = std::fopen((opt.dir + "/grep-count.txt").c_str(), "r")) {
            char line[32] = {};
            if (std::fgets(line, sizeof line, f))
                count = std::string(line, std::strcspn(line, "\n"));
            std::fclose(f);
        }
        const double find = Median(findMs), grep = Median(grepMs);
        all.push_back(find);
        std::printf("  %-24s %9zu %9.1f %9.1f %9s %6.2fx  %s\n", ("\"" + q.text + "\"").c_str(),
                    matches, find, grep, count.c_str(), find / grep,
                    find < kKeystrokeGoalMs ? "met" : "NOT MET");
    }
    std::printf("\n  median keystroke over all queries: %.1f ms\n", Median(all));
    fs::remove(utf8, ec);
    fs::remove(opt.dir + "/grep-count.txt", ec);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--dir" || arg == "--entries" || arg == "--runs") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (arg == "--dir") opt.dir = value;
            if (arg == "--entries") opt.entries = std::strtoull(value.c_str(), nullptr, 10);
            if (arg == "--runs") opt.runs = std::max(1, std::atoi(value.c_str()));
        } else {
            std::fprintf(stderr,
                         "usage: kantoria-bench-find [--dir DIR] [--entries N] [--runs N]\n");
            return 2;
        }
    }
    if (opt.entries == 0) opt.entries = 1;
    return Run(opt);
}
