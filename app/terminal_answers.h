// What the window program answers on the terminal without opening a window: --help and
// --version work on a machine without a display (scripts and help2man run them there).
#pragma once

#include <optional>
#include <ostream>

namespace kantoria {

// The exit code when the command line asks only for help or the version (the answer is
// written to out); nothing when the program is to start its window.
std::optional<int> AnswerOnTerminal(int argc, const char* const* argv, std::ostream& out);

}  // namespace kantoria
