// The user's settings through QSettings, rooted at organisation "Velmoor", application
// "MORKA2": the registry on Windows, ~/.config/Velmoor/MORKA2.conf on Linux.
#pragma once

#include <memory>

#include "platform/settings_store.h"

namespace kantoria {

std::unique_ptr<SettingsStore> CreateUserSettings();

}  // namespace kantoria
