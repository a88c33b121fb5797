// kantoria-extract [--max-text BYTES] [--max-member BYTES] [--max-ratio N] PATH
// Writes the document's text to stdout as UTF-8 and exits 0 (stderr says "truncated" when the
// text was cut at the cap); 10 for a format it cannot read, 11 when reading failed, 12 for
// something other than a regular file, 13 when the file changed while it was read. Any
// other line on stderr is one short English reason. The indexer runs it under memory and time
// limits, so that no document can harm the process that asked.
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "extract/extract.h"

namespace {

constexpr int kUsage = 2;

bool ParseSize(const char* text, std::uint64_t& value) {
    const std::string_view s(text);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return error == std::errc() && end == s.data() + s.size() && value > 0;
}

bool ParseArguments(int argc, char** argv, kantoria::ExtractLimits& limits, std::string& path) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
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
    return !path.empty();
}

bool WriteAll(const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    kantoria::ExtractLimits limits;
    std::string path;
    if (!ParseArguments(argc, argv, limits, path)) {
        std::fprintf(stderr,
                     "usage: kantoria-extract [--max-text BYTES] [--max-member BYTES] "
                     "[--max-ratio N] PATH\n");
        return kUsage;
    }
    kantoria::TextSink sink(static_cast<size_t>(limits.maxText));
    const kantoria::Extracted result = kantoria::ExtractFile(path, limits, sink);
    if (!result.ok()) {
        std::fprintf(stderr, "%s\n", result.reason.c_str());
        return static_cast<int>(result.outcome);
    }
    if (!WriteAll(sink.Text())) {
        std::fprintf(stderr, "could not write the text: %s\n", std::strerror(errno));
        return static_cast<int>(kantoria::Outcome::Failed);
    }
    if (sink.Truncated()) std::fprintf(stderr, "truncated\n");
    return 0;
}
