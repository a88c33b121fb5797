// The entry list's view mode and how it is kept in the user's settings.
#pragma once

#include <string>
#include <string_view>

#include "core/ports/settings_store.h"

namespace kantoria {

// The values are the ones the settings hold.
enum class ViewType { LargeIcon = 0, Report = 1, SmallIcon = 2, List = 3 };

inline constexpr std::string_view kSettingsSection = "SETTINGS";
inline constexpr std::string_view kViewTypeName = "TYPE";

// An absent or empty value gives report mode, text that is no number large icons. A number
// outside 0 to 3, which the program never writes, gives report mode, the first start's mode.
ViewType ViewTypeFromSetting(std::string_view value);
ViewType ReadViewType(SettingsStore& settings);
// Writes one digit, "0" to "3".
void WriteViewType(SettingsStore& settings, ViewType type);

}  // namespace kantoria
