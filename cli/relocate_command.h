#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kantoria::cli {

// kantoria-cli relocate CATALOGUE FROM TO [--dry-run] [--wait SECONDS]; args without
// "relocate".
int RelocateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kantoria::cli
