// The commands of kantoria-cli, callable from tests without a process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kantoria::cli {

// Runs the command line (without the program name); answers the exit status: 0 done, 1 the
// command failed, 2 the command line is wrong.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kantoria::cli
