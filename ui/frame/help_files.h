// Where the program's help lives: installed beside the program, or, when it is not (a build
// tree), copied out of the program's resources into the user's cache.
#pragma once

#include <string>

namespace kantoria {

// The file:// address of the help's contents page; empty when there is none.
std::string HelpIndexUrl();

}  // namespace kantoria
