#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "core/text/text_codec.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // Arguments are file names as the system spells them; the program holds text.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(kantoria::FromSystemName(argv[i]));
    return kantoria::cli::Run(args, std::cout, std::cerr);
}
