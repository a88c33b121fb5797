#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kantoria::cli {

// kantoria-cli export CATALOGUE OUT.csv; args without "export".
int ExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// kantoria-cli import CATALOGUE IN.csv [--wait SECONDS]; args without "import".
int ImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kantoria::cli
