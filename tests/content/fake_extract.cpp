// A stand-in for the extraction program whose behaviour the document's name chooses, so that
// tests can make a document crash, hang, spin, eat memory or flood its reader.
// Usage: fake_extract [--max-text BYTES] PATH
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[argc - 1] : "";
    const auto named = [&](const char* what) {
        return path.substr(path.rfind('/') + 1).find(what) != std::string::npos;
    };
    if (named("crash")) ::raise(SIGSEGV);
    if (named("sleep")) ::sleep(120);
    if (named("spin"))
        for (volatile unsigned long i = 0;;) i = i + 1;
    if (named("hog")) {
        std::vector<std::vector<char>> held;
        for (int i = 0; i < 64; ++i) held.emplace_back(std::size_t{64} << 20, 'x');
        std::cout << held.size();
        return 0;
    }
    if (named("flood")) {
        const std::string line(1 << 20, 'a');
        for (int i = 0; i < 64; ++i) std::cout << line;
        return 0;
    }
    if (named("unsupported")) {
        std::cerr << "no reader for this kind\n";
        return 10;
    }
    if (named("broken")) {
        std::cerr << "damaged file\nsecond line\n";
        return 11;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return 11;
    std::ostringstream text;
    text << in.rdbuf();
    std::cout << text.str();
    return 0;
}
