#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/os/folder_lister.h"

namespace kantoria::cli {

// kantoria-cli search CATALOGUE FOLDER [--ext .EXT] [--no-subfolders] [--wait SECONDS]; args
// without "search".
int SearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same, listing folders through lister.
int SearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  FolderLister& lister);

}  // namespace kantoria::cli
