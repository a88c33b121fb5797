#include "core/views/view_type.h"

#include "core/text/text_number.h"

namespace kantoria {

ViewType ViewTypeFromSetting(std::string_view value) {
    if (value.empty()) return ViewType::Report;
    const int number = ParseLeadingInt(value);
    if (number < 0 || number > 3) return ViewType::Report;
    return static_cast<ViewType>(number);
}

ViewType ReadViewType(SettingsStore& settings) {
    return ViewTypeFromSetting(settings.GetProfileString(kSettingsSection, kViewTypeName, ""));
}

void WriteViewType(SettingsStore& settings, ViewType type) {
    settings.WriteProfileString(kSettingsSection, kViewTypeName,
                                std::to_string(static_cast<int>(type)));
}

}  // namespace kantoria
