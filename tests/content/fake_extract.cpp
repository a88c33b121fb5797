// A stand-in for the extraction program whose behaviour the document's name chooses, so that
// tests can make a document crash, hang, spin, burn 0.7 s of processor time, eat memory or
// flood its reader.
// Usage: fake_extract [--max-text BYTES] PATH | fake_extract --serve [--max-text BYTES]
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/os/serve_frame.h"

namespace {

kantoria::ServedAnswer Read(const std::string& path) {
    const std::clock_t start = std::clock();
    const auto named = [&](const char* what) {
        return path.substr(path.rfind('/') + 1).find(what) != std::string::npos;
    };
    if (named("crash")) {
        // Dies by the signal even where a sanitizer would catch it and exit with a code.
        ::signal(SIGSEGV, SIG_DFL);
        ::raise(SIGSEGV);
    }
    if (named("sleep")) ::sleep(120);
    if (named("spin"))
        for (volatile unsigned long i = 0;;) i = i + 1;
    if (named("burn")) {
        // 0.7 s of processor time, then the text.
        while (std::clock() - start < CLOCKS_PER_SEC * 7 / 10) {
        }
    }
    if (named("hog")) {
        std::vector<std::vector<char>> held;
        for (int i = 0; i < 64; ++i) held.emplace_back(std::size_t{64} << 20, 'x');
        return {0, {}, std::to_string(held.size())};
    }
    // Four times the tests' output cap: enough to pass it, small enough that building it does
    // not spend the processor-time allowance on a loaded machine under the sanitizers.
    if (named("flood")) return {0, {}, std::string(std::size_t{4} << 20, 'a')};
    if (named("unsupported")) return {10, "no reader for this kind", {}};
    if (named("broken")) return {11, "damaged file", {}};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {11, "cannot open", {}};
    std::ostringstream text;
    text << in.rdbuf();
    return {0, {}, text.str()};
}

int Serve() {
    kantoria::RequestReader requests;
    char buffer[4096];
    for (;;) {
        while (const auto path = requests.Next()) {
            const std::string answer = kantoria::FrameAnswer(Read(*path));
            if (::write(1, answer.data(), answer.size()) != static_cast<ssize_t>(answer.size()))
                return 11;
        }
        const ssize_t got = ::read(0, buffer, sizeof buffer);
        if (got <= 0) return 0;
        requests.Feed({buffer, static_cast<std::size_t>(got)});
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--serve") return Serve();
    const kantoria::ServedAnswer answer = Read(argc > 1 ? argv[argc - 1] : "");
    std::cout << answer.text;
    if (answer.code != 0) std::cerr << answer.reason << "\nsecond line\n";
    return answer.code;
}
