// kantoria-cli types: the extension box of the automatic search as the system fills it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/ports/file_types.h"

namespace kantoria::cli {

// Prints the box's lines in box order, each after a two-column mark: "* " on the line chosen
// when the dialog opens, two blanks on the others.
void PrintExtensionBox(FileTypeRegistry& types, std::ostream& out);

// The command with its arguments (none); answers the exit status.
int RunTypes(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kantoria::cli
