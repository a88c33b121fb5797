#include "cli/content_commands.h"

namespace kantoria::cli {
namespace {

int NotHere(const char* what, std::ostream& err) {
    err << "kantoria-cli: " << what
        << " is not available in this build (it has no content index)\n";
    return 1;
}

}  // namespace

int IndexCommand(std::vector<std::string>, std::ostream&, std::ostream& err) {
    return NotHere("index", err);
}

int ContentFindCommand(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    return NotHere("find --content", err);
}

}  // namespace kantoria::cli
