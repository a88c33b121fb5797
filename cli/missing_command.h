// kantoria-cli missing: the entries whose file or folder is not there.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/os/path_probe.h"
#include "core/os/presence_checker.h"

namespace kantoria::cli {

// missing CATALOGUE: {"checked": n, "missing": [{"title","path"}], "unknown": [...]}, both
// lists in catalogue order; "unknown" holds the entries the file system did not answer for in
// time. Answers the exit status. The probe and limits are the system's unless a test says.
int MissingCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   std::shared_ptr<PathProbe> probe = MakeSystemPathProbe(),
                   PresenceCheckLimits limits = {});

}  // namespace kantoria::cli
