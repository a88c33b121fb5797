// kantoria-cli tree and list: the holder tree and an entry list as the two panes show them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kantoria::cli {

// tree CATALOGUE: the top-level items in display order, each with its label, its folder and
// its children. Answers the exit status.
int TreeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// list CATALOGUE [--holder LABELPATH]: the holder that the label path (by default the file's
// own) designates, and the entries the list shows for it.
int ListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kantoria::cli
