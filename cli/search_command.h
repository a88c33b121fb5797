#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kantoria::cli {

// kantoria-cli search CATALOGUE FOLDER [--ext .EXT] [--no-subfolders]; args without "search".
int SearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kantoria::cli
