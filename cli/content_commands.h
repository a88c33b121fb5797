// Finding documents by their text from the command line: `index` brings a catalogue's content
// index up to date, `find --content` finds entries by their documents' text as well.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kantoria::cli {

// index CATALOGUE [--wait SECONDS]
int IndexCommand(std::vector<std::string> args, std::ostream& out, std::ostream& err);
// find --content CATALOGUE TEXT, without the "--content"
int ContentFindCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kantoria::cli
