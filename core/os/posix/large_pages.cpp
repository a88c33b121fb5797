#include "core/os/large_pages.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

namespace kantoria {
namespace {

constexpr const char* kTunables = "GLIBC_TUNABLES";
constexpr std::string_view kHugePages = "glibc.malloc.hugetlb=1";
// Set for the program started again: what the tunables were before (maybe nothing).
constexpr const char* kBefore = "KANTORIA_TUNABLES_BEFORE";
constexpr std::string_view kUnset = "\x01";

// Whether transparent huge pages are given only to memory that asks for them.
bool HugePagesOnRequest() {
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    return std::getline(in, modes) && modes.find("[madvise]") != std::string::npos;
}

}  // namespace

void UseLargeHeapPages(char** argv) {
#if defined(__GLIBC__) && defined(__linux__)
    if (const char* before = std::getenv(kBefore)) {
        // Started again: the C library has read its tunables; the environment is the user's
        // again.
        if (before == kUnset)
            ::unsetenv(kTunables);
        else
            ::setenv(kTunables, before, 1);
        ::unsetenv(kBefore);
        return;
    }
    const char* tunables = std::getenv(kTunables);
    const std::string current = tunables ? tunables : "";
    if (current.find("glibc.malloc.hugetlb") != std::string::npos || !HugePagesOnRequest()) return;
    const std::string wanted =
        current.empty() ? std::string(kHugePages) : current + ":" + std::string(kHugePages);
    if (::setenv(kBefore, tunables ? tunables : std::string(kUnset).c_str(), 1) != 0) return;
    if (::setenv(kTunables, wanted.c_str(), 1) == 0) ::execv("/proc/self/exe", argv);
    // Not started again: go on as we are, with the environment as it was.
    if (tunables)
        ::setenv(kTunables, current.c_str(), 1);
    else
        ::unsetenv(kTunables);
    ::unsetenv(kBefore);
#else
    (void)argv;
#endif
}

}  // namespace kantoria
