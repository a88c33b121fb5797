// The program's per-user settings: named values in named sections. The desktop build keeps
// them with QSettings; tests use the in-memory store.
#pragma once

#include <string>
#include <string_view>

namespace kantoria {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored value, or def when there is none.
    virtual std::string GetProfileString(std::string_view section, std::string_view entry,
                                         std::string_view def) = 0;
    // The stored value, or def when there is none or it is not a whole number.
    virtual int GetProfileInt(std::string_view section, std::string_view entry, int def) = 0;
    virtual void WriteProfileString(std::string_view section, std::string_view entry,
                                    std::string_view value) = 0;
    virtual void WriteProfileInt(std::string_view section, std::string_view entry, int value) = 0;
};

}  // namespace kantoria
