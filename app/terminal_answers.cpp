#include "app/terminal_answers.h"

#include <string_view>

namespace kantoria {
namespace {

constexpr const char* kUsageText =
    "Usage: kantoria [CATALOGUE | FILE]\n"
    "\n"
    "Opens the catalogue CATALOGUE (a .ZNL file) in Kantoria's window, else the catalogue\n"
    "used last, else a new untitled catalogue. A FILE that is no catalogue is registered as\n"
    "an entry of the catalogue opened. A second start on the same display while Kantoria\n"
    "shows that catalogue brings the running window back and hands it the file.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this text\n"
    "  --version      show the version\n"
    "\n"
    "The window speaks Japanese whatever the locale. Its settings (the catalogue used last,\n"
    "the window's place) live in $XDG_CONFIG_HOME/Velmoor/MORKA2.conf; the command-line\n"
    "companion is kantoria-cli.\n";

}  // namespace

std::optional<int> AnswerOnTerminal(int argc, const char* const* argv, std::ostream& out) {
    // Only as the one argument: any other word is a file name, even one starting with '-'.
    if (argc != 2) return std::nullopt;
    const std::string_view option = argv[1];
    if (option == "--help" || option == "-h") {
        out << kUsageText;
        return 0;
    }
    if (option == "--version") {
        out << "kantoria " KANTORIA_VERSION "\n";
        return 0;
    }
    return std::nullopt;
}

}  // namespace kantoria
