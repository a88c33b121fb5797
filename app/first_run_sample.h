// The first start of an installed program for a user who has no catalogue yet: the sample
// documents are copied into the user's data folder and opened in a sample catalogue.
#pragma once

#include <optional>
#include <string>

namespace kantoria {

class SettingsStore;

// The sample catalogue to open when no catalogue is remembered and the installation holds the
// samples (share/kantoria/samples beside the program's bin folder); made on the first call by
// the installed kantoria-make-sample, found again later. Nothing when there is none to open.
std::optional<std::string> FirstRunSample(SettingsStore& settings);

}  // namespace kantoria
