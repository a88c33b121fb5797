#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "core/os/large_pages.h"
#include "core/text/text_codec.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "core/os/win32/wide.h"
#else
#include <sys/stat.h>

#include <string_view>
#endif

namespace {

int RunWith(std::vector<std::string> args) {
    std::ios::sync_with_stdio(false);
    return kantoria::cli::Run(args, std::cout, std::cerr);
}

}  // namespace

#ifdef _WIN32
// The arguments as Windows holds them, in UTF-16: the narrow ones are the ANSI code page's
// rendering, which loses every character outside it. The output is the program's UTF-8, as
// bytes: JSON and file names are read by programs, not by the console's code page.
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(kantoria::FromSystemName(kantoria::win32::Narrow(argv[i])));
    return RunWith(std::move(args));
}
#else
namespace {

// Large heap pages pay for starting again only when much memory is to come: a search of a
// folder tree, or a large file among the arguments. Scripts calling the tool often for small
// things should not pay twice for starting it.
bool ExpectsMuchMemory(int argc, char** argv) {
    constexpr off_t kLarge = off_t{16} << 20;
    if (argc > 1 && std::string_view(argv[1]) == "search") return true;
    struct stat st {};
    for (int i = 2; i < argc; ++i)
        if (::stat(argv[i], &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= kLarge) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (ExpectsMuchMemory(argc, argv)) kantoria::UseLargeHeapPages(argv);
    // Arguments are file names as the system spells them; the program holds text.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(kantoria::FromSystemName(argv[i]));
    return RunWith(std::move(args));
}
#endif
