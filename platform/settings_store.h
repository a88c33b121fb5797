// The user's per-program settings: named string values grouped in sections.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kantoria {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The value, or nothing when it was never written.
    virtual std::optional<std::string> GetString(std::string_view section,
                                                 std::string_view name) const = 0;
    virtual void WriteString(std::string_view section, std::string_view name,
                             std::string_view value) = 0;
};

}  // namespace kantoria
