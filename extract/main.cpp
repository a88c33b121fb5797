// kantoria-extract [--max-text BYTES] [--max-member BYTES] [--max-ratio N] PATH
// Writes the document's text to stdout as UTF-8 and exits 0 (stderr says "truncated" when the
// text was cut at the cap); 10 for a format it cannot read, 11 when reading failed, 12 for
// something other than a regular file, 13 when the file changed while it was read. Any
// other line on stderr is one short English reason. The indexer runs it under memory and time
// limits, so that no document can harm the process that asked.
//
// kantoria-extract --serve [--max-...]: reads paths from stdin, each ended by a NUL, and
// answers each on stdout as serve_frame.h frames it, with the code one run would exit with
// and its reason; exits 0 at the end of stdin. The indexer keeps a few of these running so
// that a document does not pay for starting a program.
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "core/os/serve_frame.h"
#include "extract/extract.h"

namespace {

constexpr int kUsage = 2;

bool ParseSize(const char* text, std::uint64_t& value) {
    const std::string_view s(text);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return error == std::errc() && end == s.data() + s.size() && value > 0;
}

bool ParseArguments(int argc, char** argv, kantoria::ExtractLimits& limits, std::string& path,
                    bool& serve) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--serve" && path.empty()) {
            serve = true;
            continue;
        }
        std::uint64_t* target = arg == "--max-text"     ? &limits.maxText
                                : arg == "--max-member" ? &limits.maxMember
                                : arg == "--max-ratio"  ? &limits.maxRatio
                                                        : nullptr;
        if (target) {
            if (++i >= argc || !ParseSize(argv[i], *target)) return false;
        } else if (path.empty() && (!arg.starts_with("--") || arg.size() == 2)) {
            if (arg == "--" && ++i < argc)
                path = argv[i];
            else if (arg != "--")
                path = argv[i];
        } else {
            return false;
        }
    }
    return serve == path.empty();
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

kantoria::ServedAnswer ServeOne(const std::string& path, const kantoria::ExtractLimits& limits) {
    kantoria::TextSink sink(static_cast<size_t>(limits.maxText));
    kantoria::Extracted result = kantoria::ExtractFile(path, limits, sink);
    if (!result.ok()) return {static_cast<int>(result.outcome), std::move(result.reason), {}};
    return {0, sink.Truncated() ? "truncated" : "", sink.Text()};
}

int Serve(const kantoria::ExtractLimits& limits) {
    // The requests and answers move to descriptors of their own; standard input and output
    // become /dev/null, so that nothing a library or converter prints can break an answer.
    const int in = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    const int out = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    const int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (in < 0 || out < 0 || nothing < 0 || dup2(nothing, STDIN_FILENO) < 0 ||
        dup2(nothing, STDOUT_FILENO) < 0)
        return static_cast<int>(kantoria::Outcome::Failed);
    kantoria::RequestReader requests;
    char buffer[4096];
    for (;;) {
        while (const std::optional<std::string> path = requests.Next())
            if (!WriteAll(out, kantoria::FrameAnswer(ServeOne(*path, limits))))
                return static_cast<int>(kantoria::Outcome::Failed);
        const ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return 0;
        requests.Feed({buffer, static_cast<size_t>(got)});
    }
}

}  // namespace

int main(int argc, char** argv) {
    kantoria::ExtractLimits limits;
    std::string path;
    bool serve = false;
    if (!ParseArguments(argc, argv, limits, path, serve)) {
        std::fprintf(stderr,
                     "usage: kantoria-extract [--max-text BYTES] [--max-member BYTES] "
                     "[--max-ratio N] PATH\n"
                     "       kantoria-extract --serve [--max-text BYTES] [--max-member BYTES] "
                     "[--max-ratio N]\n");
        return kUsage;
    }
    if (serve) return Serve(limits);
    kantoria::TextSink sink(static_cast<size_t>(limits.maxText));
    const kantoria::Extracted result = kantoria::ExtractFile(path, limits, sink);
    if (!result.ok()) {
        std::fprintf(stderr, "%s\n", result.reason.c_str());
        return static_cast<int>(result.outcome);
    }
    if (!WriteAll(STDOUT_FILENO, sink.Text())) {
        std::fprintf(stderr, "could not write the text: %s\n", std::strerror(errno));
        return static_cast<int>(kantoria::Outcome::Failed);
    }
    if (sink.Truncated()) std::fprintf(stderr, "truncated\n");
    return 0;
}
