// Times loading and saving a large catalogue against the cost of merely converting its bytes
// with the system's iconv, and measures the memory a load takes and where it goes. A report, not a
// test: it exits 0 whatever the figures, and non-zero only when something could not be done.
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/catalogue_format.h"
#include "core/os/file_read.h"
#include "core/text/text_codec.h"
#include "core/views/entry_find.h"
#include "testing/core/catalogue_generator.h"

extern char** environ;

namespace {

using namespace kantoria;
using namespace kantoria::test;
namespace fs = std::filesystem;

constexpr double kLoadGoal = 3.0;    // load + rebuild, in multiples of the iconv time
constexpr double kSaveGoal = 3.0;    // save, in multiples of the iconv time
constexpr double kMemoryGoal = 4.0;  // peak resident memory, in multiples of the file size
// Resident memory once loaded with holders and find keys, in multiples of the file size.
constexpr double kResidentGoal = 3.0;

struct Options {
    std::string dir = "/tmp/kantoria-bench";
    std::size_t entries = 1000000;
    std::size_t folders = 0;  // 0: one folder per 50 entries, or per 10.1 in the deep shape
    int runs = 5;
    bool regenerate = false;
    bool generateOnly = false;
    CatalogueShape shape = CatalogueShape::Flat;
};

void PrintUsage(std::FILE* to) {
    std::fputs(
        "usage: kantoria-bench-catalogue [options]\n"
        "  --dir DIR        where the catalogue is generated and saved (/tmp/kantoria-bench)\n"
        "  --entries N      entries in the catalogue (1000000)\n"
        "  --quick          same as --entries 100000\n"
        "  --folders N      distinct folders (entries / 50; deep: entries * 99 / 1000)\n"
        "  --deep           folders in a deep tree like /usr, most holders' parents empty\n"
        "  --runs N         timed runs per measurement; medians are reported (5)\n"
        "  --regenerate     write the catalogue anew even when it exists\n"
        "  --generate-only  write the catalogue if missing, print its path and end\n",
        to);
}

bool ParseCount(const char* text, std::size_t& value) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || text[0] == '-') return false;
    value = static_cast<std::size_t>(v);
    return true;
}

// Answers 0 to go on, 1 on a usage error, -1 after --help.
int ParseOptions(int argc, char** argv, Options& opt) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        std::size_t n = 0;
        if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            return -1;
        } else if (arg == "--quick") {
            opt.entries = 100000;
        } else if (arg == "--regenerate") {
            opt.regenerate = true;
        } else if (arg == "--generate-only") {
            opt.generateOnly = true;
        } else if (arg == "--deep") {
            opt.shape = CatalogueShape::Deep;
        } else if (arg == "--dir") {
            const char* v = value();
            if (!v || !*v) return 1;
            opt.dir = v;
        } else if (arg == "--entries") {
            const char* v = value();
            if (!v || !ParseCount(v, n) || n == 0) return 1;
            opt.entries = n;
        } else if (arg == "--folders") {
            const char* v = value();
            if (!v || !ParseCount(v, n) || n == 0) return 1;
            opt.folders = n;
        } else if (arg == "--runs") {
            const char* v = value();
            if (!v || !ParseCount(v, n) || n == 0 || n > 1000) return 1;
            opt.runs = static_cast<int>(n);
        } else {
            return 1;
        }
    }
    if (opt.folders == 0)
        opt.folders = std::max<std::size_t>(
            1, opt.shape == CatalogueShape::Deep ? opt.entries * 99 / 1000 : opt.entries / 50);
    return 0;
}

// --- Measuring -------------------------------------------------------------------------------

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Runs body in a child process and answers its exit status (-1 when it did not exit).
int InChild(const std::function<int()>& body, struct rusage* usage = nullptr) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        int code = 1;
        try {
            code = body();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "error: %s\n", e.what());
        }
        std::fflush(nullptr);
        ::_exit(code);
    }
    int status = 0;
    struct rusage local {};
    while (::wait4(pid, &status, 0, usage ? usage : &local) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ReadAndDiscard(const std::string& file, std::uint64_t& bytes) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::vector<char> buffer(1 << 20);
    bytes = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            return n == 0;
        }
        bytes += static_cast<std::uint64_t>(n);
    }
}

bool SameBytes(const std::string& a, const std::string& b) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> fa(std::fopen(a.c_str(), "rb"), &std::fclose);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> fb(std::fopen(b.c_str(), "rb"), &std::fclose);
    if (!fa || !fb) return false;
    std::vector<char> ba(1 << 20), bb(1 << 20);
    for (;;) {
        const std::size_t na = std::fread(ba.data(), 1, ba.size(), fa.get());
        const std::size_t nb = std::fread(bb.data(), 1, bb.size(), fb.get());
        if (na != nb || std::memcmp(ba.data(), bb.data(), na) != 0) return false;
        if (na < ba.size()) return !std::ferror(fa.get()) && !std::ferror(fb.get());
    }
}

// Runs `iconv -f CP932 -t UTF-8 file` with its output thrown away; answers the milliseconds
// it took, or a negative number when it failed.
double TimeIconv(const std::string& file) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string argIconv = "iconv", argFrom = "-f", from = "CP932", argTo = "-t", to = "UTF-8",
                argFile = file;
    char* argv[] = {argIconv.data(), argFrom.data(), from.data(), argTo.data(),
                    to.data(),       argFile.data(), nullptr};
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, "iconv", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::fprintf(stderr, "error: cannot start iconv: %s\n", std::strerror(spawned));
        return -1;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    const double ms = MillisecondsSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "error: iconv failed on %s\n", file.c_str());
        return -1;
    }
    return ms;
}

// Discards what the writer produces, to time the encoding apart from the file system.
class NullSink final : public ByteSink {
  public:
    bool Write(std::string_view bytes) override {
        written += bytes.size();
        return true;
    }
    const Status& status() const override { return ok_; }
    std::uint64_t written = 0;

  private:
    Status ok_ = Status::Ok();
};

long ResidentKib() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1;
    long size = 0, resident = -1;
    if (std::fscanf(f, "%ld %ld", &size, &resident) != 2) resident = -1;
    std::fclose(f);
    return resident < 0 ? -1 : resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// The process's peak resident memory so far (VmHWM).
long PeakKib() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1) break;
    std::fclose(f);
    return kib;
}

// Bytes malloc has handed out and not had back, mapped blocks included.
std::uint64_t HeapInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The block malloc gives a request of n bytes: a header, rounded up to 16, at least 32.
std::uint64_t MallocBlock(std::size_t n) {
    return std::max<std::size_t>(32, (n + sizeof(std::size_t) + 15) & ~std::size_t{15});
}

// What the memory child reports back through its pipe.
struct MemoryReport {
    std::uint64_t entries = 0;
    std::uint64_t holders = 0;
    long residentBeforeKib = -1;  // the process before the load
    long residentAfterKib = -1;   // once the load is over and its buffers are gone, holders built
    long residentLoadKib = -1;    // after the load alone
    long residentFindKib = -1;    // after the find keys too
    long peakKib = -1;            // the peak of the load and the holders' rebuild
    std::uint64_t heapBefore = 0, heapLoad = 0, heapHolders = 0, heapFind = 0;
    std::uint64_t textBytes = 0;     // the texts of every path, title and comment
    std::uint64_t stringBlocks = 0;  // the heap blocks holding them, one an entry
    std::uint64_t nodeBytes = 0;     // the entry records, as blocks of the list
    std::uint64_t keyTextBytes = 0;  // what the find keys' text reserves: fields + separators
    // The load in a process that has never held a document: every page it touches is new.
    double freshLoadMs = 0;
};

double Mib(double bytes) {
    return bytes / (1024.0 * 1024.0);
}

const char* Verdict(bool met) {
    return met ? "met" : "MISSED";
}

// Where the resident memory of a loaded catalogue with its holders and find keys goes. The
// heap parts are told apart by malloc's count of bytes in use before and after each step; the
// texts and the entry records are counted block by block, and the indexes the load builds
// are what the load's heap holds beside them. What is resident beyond the heap in use is
// memory malloc keeps after the load's buffers were freed, less reserved pages never touched.
void PrintMemoryDivision(const MemoryReport& m, double fileSize) {
    auto d = [](std::uint64_t a, std::uint64_t b) {
        return static_cast<double>(a) - static_cast<double>(b);
    };
    auto kib = [](long k) { return static_cast<double>(k) * 1024; };
    const double before = kib(m.residentBeforeKib), total = kib(m.residentFindKib);
    const double strings = static_cast<double>(m.stringBlocks);
    const double nodes = static_cast<double>(m.nodeBytes);
    const double indexes = d(m.heapLoad, m.heapBefore) - strings - nodes;
    const double holders = d(m.heapHolders, m.heapLoad);
    const double keys = d(m.heapFind, m.heapHolders);
    const double kept = total - before - d(m.heapFind, m.heapBefore);
    auto row = [&](const char* part, double bytes) {
        std::printf("    %-56s %8.1f %6.2fx\n", part, Mib(bytes), bytes / fileSize);
    };
    std::printf("\n  resident memory once loaded, with holders and find keys, by part:\n");
    std::printf("    %-56s %8s %7s\n", "part", "MiB", "x file");
    row("the process before the load", before);
    row("texts: an entry's path, title and comment in one heap block", strings);
    char text[96];
    std::snprintf(text, sizeof text, "  of which their text (%.1f bytes an entry)",
                  static_cast<double>(m.textBytes) / static_cast<double>(m.entries));
    row(text, static_cast<double>(m.textBytes));
    std::snprintf(text, sizeof text, "entry records (%zu-byte list nodes)",
                  sizeof(Entry) + 2 * sizeof(void*));
    row(text, nodes);
    row("title and path indexes, rest of the load (the difference)", indexes);
    row("holders and their entry lists", holders);
    row("find keys", keys);
    row("  of which key text reserved (fields + separators)", static_cast<double>(m.keyTextBytes));
    row("resident beyond the heap in use (kept by malloc)", kept);
    row("resident after load + holders + find keys", total);
    std::printf(
        "    resident after the load %.1f MiB, after the holders %.1f MiB, after the keys "
        "%.1f MiB\n",
        Mib(kib(m.residentLoadKib)), Mib(kib(m.residentAfterKib)), Mib(total));
    std::printf("  goal: resident after load + holders + find keys <= %.0fx file: %.2fx %s\n",
                kResidentGoal, total / fileSize, Verdict(total / fileSize <= kResidentGoal));
}

int Run(const Options& opt) {
    std::error_code ec;
    fs::create_directories(opt.dir, ec);
    if (ec) {
        std::fprintf(stderr, "error: cannot create %s: %s\n", opt.dir.c_str(),
                     ec.message().c_str());
        return 1;
    }
    const std::string file =
        (fs::path(opt.dir) / GeneratedCatalogueName(opt.entries, opt.folders, opt.shape)).string();
    const std::string saved = (fs::path(opt.dir) / "saved.ZNL").string();

    // The catalogue is built in a child process, and so is the memory measurement below: a
    // forked child's peak counts what the parent held when it forked, so the parent must
    // still be small then.
    if (opt.regenerate || !fs::exists(file)) {
        std::fprintf(stderr, "generating %zu entries in %zu folders into %s ...\n", opt.entries,
                     opt.folders, file.c_str());
        const Clock::time_point start = Clock::now();
        if (InChild([&] {
                return GenerateCatalogue(opt.entries, opt.folders, file, opt.shape) ? 0 : 1;
            }) != 0) {
            std::fprintf(stderr, "error: generating the catalogue failed\n");
            return 1;
        }
        std::fprintf(stderr, "generated in %.1f s\n", MillisecondsSince(start) / 1000);
    } else {
        std::fprintf(stderr, "reusing %s\n", file.c_str());
    }
    if (opt.generateOnly) {
        std::printf("%s\n", file.c_str());
        return 0;
    }

    std::uint64_t fileSize = 0;
    if (!ReadAndDiscard(file, fileSize)) {  // also warms the page cache
        std::fprintf(stderr, "error: cannot read %s\n", file.c_str());
        return 1;
    }

    // Peak memory of one load and rebuild, in a fresh child.
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return 1;
    const long parentKib = ResidentKib();
    const int memoryExit = InChild([&] {
        ::close(pipeFds[0]);
        MemoryReport report;
        Catalogue doc;
        FindIndex keys;
        report.residentBeforeKib = ResidentKib();
        report.heapBefore = HeapInUse();
        const Clock::time_point start = Clock::now();
        const Status status = doc.LoadCatalogue(file);
        if (!status) {
            std::fprintf(stderr, "error: cannot load %s: %s\n", file.c_str(),
                         status.reason().c_str());
            return 1;
        }
        const double loadMs = MillisecondsSince(start);
        report.residentLoadKib = ResidentKib();
        report.heapLoad = HeapInUse();
        const Clock::time_point holdersStart = Clock::now();
        doc.RebuildHolders();
        report.freshLoadMs = loadMs + MillisecondsSince(holdersStart);
        report.residentAfterKib = ResidentKib();
        report.heapHolders = HeapInUse();
        report.peakKib = PeakKib();
        keys.Update(doc.Entries(), doc.FileEncoding());
        report.residentFindKib = ResidentKib();
        report.heapFind = HeapInUse();

        report.entries = doc.Entries().size();
        report.holders = doc.Holders().size();
        // A list node is the entry behind its two links.
        report.nodeBytes = report.entries * MallocBlock(sizeof(Entry) + 2 * sizeof(void*));
        for (const Entry& e : doc.Entries()) {
            const std::uint64_t text = e.Path().size() + e.Title().size() + e.Comment().size();
            report.textBytes += text;
            report.keyTextBytes += text + 3;
            report.stringBlocks += MallocBlock(text + 1);
        }
        report.keyTextBytes += report.keyTextBytes / 16;
        return ::write(pipeFds[1], &report, sizeof report) == sizeof report ? 0 : 1;
    });
    ::close(pipeFds[1]);
    MemoryReport memory;
    const bool gotReport = ::read(pipeFds[0], &memory, sizeof memory) == sizeof memory;
    ::close(pipeFds[0]);
    if (memoryExit != 0 || !gotReport) {
        std::fprintf(stderr, "error: the memory measurement failed\n");
        return 1;
    }
    const double peakBytes = static_cast<double>(memory.peakKib) * 1024;

    // The floor: converting the same bytes with nothing kept.
    std::vector<double> iconvMs;
    for (int r = 0; r < opt.runs; ++r) {
        const double ms = TimeIconv(file);
        if (ms < 0) return 1;
        iconvMs.push_back(ms);
    }

    // Load and rebuild, each time into a fresh document; the previous one is freed untimed.
    std::vector<double> loadMs;
    std::unique_ptr<Catalogue> doc;
    for (int r = 0; r < opt.runs; ++r) {
        doc.reset();
        doc = std::make_unique<Catalogue>();
        const Clock::time_point start = Clock::now();
        const Status status = doc->LoadCatalogue(file);
        doc->RebuildHolders();
        loadMs.push_back(MillisecondsSince(start));
        if (!status) {
            std::fprintf(stderr, "error: cannot load %s: %s\n", file.c_str(),
                         status.reason().c_str());
            return 1;
        }
    }
    if (doc->Entries().size() != opt.entries || doc->FileEncoding() != Encoding::Cp932) {
        std::fprintf(stderr, "error: %s read back as %zu entries in %s\n", file.c_str(),
                     doc->Entries().size(), std::string(EncodingName(doc->FileEncoding())).c_str());
        return 1;
    }

    std::vector<double> saveMs;
    for (int r = 0; r < opt.runs; ++r) {
        const Clock::time_point start = Clock::now();
        const Status status = doc->SaveCatalogue(saved);
        saveMs.push_back(MillisecondsSince(start));
        if (!status) {
            std::fprintf(stderr, "error: cannot save %s: %s\n", saved.c_str(),
                         status.reason().c_str());
            return 1;
        }
    }
    const bool roundTrip = SameBytes(file, saved);
    fs::remove(saved, ec);

    // Where the time goes: the load's steps one by one, and the save without the file system.
    std::vector<double> readMs, parseMs, holdersMs, encodeMs;
    for (int r = 0; r < opt.runs; ++r) {
        std::string bytes;
        Clock::time_point start = Clock::now();
        if (!ReadWholeFile(file, bytes)) return 1;
        readMs.push_back(MillisecondsSince(start));
        auto fresh = std::make_unique<Catalogue>();
        start = Clock::now();
        ReadCatalogue(*fresh, bytes);
        parseMs.push_back(MillisecondsSince(start));
        start = Clock::now();
        fresh->RebuildHolders();
        holdersMs.push_back(MillisecondsSince(start));
    }
    for (int r = 0; r < opt.runs; ++r) {
        NullSink sink;
        const Clock::time_point start = Clock::now();
        if (!WriteCatalogue(*doc, Encoding::Cp932, sink)) return 1;
        encodeMs.push_back(MillisecondsSince(start));
    }

    const double iconv = Median(iconvMs), load = Median(loadMs), save = Median(saveMs);
    const double loadRatio = load / iconv, saveRatio = save / iconv;
    const double size = static_cast<double>(fileSize);
    const double memoryRatio = peakBytes / size;
    const double residentBytes = static_cast<double>(memory.residentAfterKib) * 1024;
    auto spread = [](const std::vector<double>& v) {
        char text[48];
        std::snprintf(text, sizeof text, "%.0f-%.0f", *std::min_element(v.begin(), v.end()),
                      *std::max_element(v.begin(), v.end()));
        return std::string(text);
    };
    std::printf("Catalogue benchmark: %s\n", file.c_str());
    std::printf("  file size   %.1f MiB (%llu bytes)\n", Mib(size),
                static_cast<unsigned long long>(fileSize));
    std::printf("  entries     %llu\n", static_cast<unsigned long long>(memory.entries));
    std::printf("  holders     %llu\n", static_cast<unsigned long long>(memory.holders));
    std::printf("  runs        %d each; medians, with the range of all runs\n\n", opt.runs);
    std::printf("  %-28s %12s %13s %7s %6s  %s\n", "measure", "median", "range", "ratio", "goal",
                "result");
    std::printf("  %-28s %9.1f ms %13s\n", "iconv CP932 -> UTF-8 (floor)", iconv,
                spread(iconvMs).c_str());
    std::printf("  %-28s %9.1f ms %13s %6.2fx %6s  %s\n", "load + rebuild holders", load,
                spread(loadMs).c_str(), loadRatio, "<= 3x", Verdict(loadRatio <= kLoadGoal));
    std::printf("  %-28s %9.1f ms %13s %6.2fx %6s  %s\n", "save", save, spread(saveMs).c_str(),
                saveRatio, "<= 3x", Verdict(saveRatio <= kSaveGoal));
    std::printf("  %-28s %8.1f MiB %13s %6.2fx %6s  %s (ratio to file size)\n",
                "peak RSS, load + rebuild", Mib(peakBytes), "", memoryRatio, "<= 4x",
                Verdict(memoryRatio <= kMemoryGoal));
    std::printf(
        "\n  load steps:  read file %.1f ms, parse + decode + index %.1f ms, rebuild "
        "holders %.1f ms\n",
        Median(readMs), Median(parseMs), Median(holdersMs));
    std::printf("  save steps:  encoding alone, into a sink that discards, %.1f ms\n",
                Median(encodeMs));
    std::printf("  load + rebuild in a fresh process: %.1f ms (%.2fx iconv)\n", memory.freshLoadMs,
                memory.freshLoadMs / iconv);
    std::printf(
        "  resident after load + rebuild: %.1f MiB (%.2fx file); %.1f MiB of the peak "
        "was the process before the load\n",
        Mib(residentBytes), residentBytes / size, Mib(static_cast<double>(parentKib) * 1024));
    PrintMemoryDivision(memory, size);
    std::printf("  saved file identical to the loaded one: %s\n", roundTrip ? "yes" : "NO");
    if (!roundTrip) {
        std::fprintf(stderr, "error: saving the loaded catalogue changed its bytes\n");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    const int parsed = ParseOptions(argc, argv, opt);
    if (parsed < 0) return 0;
    if (parsed > 0) {
        PrintUsage(stderr);
        return 2;
    }
    try {
        return Run(opt);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
}
