// The per-user settings kept with QSettings: the registry key Software\<organisation>\<app>
// on Windows, ~/.config/<organisation>/<app>.conf on Linux.
#pragma once

#include <QSettings>

#include "core/ports/settings_store.h"

namespace kantoria {

class QSettingsStore final : public SettingsStore {
  public:
    QSettingsStore(std::string_view organisation, std::string_view application);

    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view def) override;
    int GetProfileInt(std::string_view section, std::string_view entry, int def) override;
    void WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override;
    void WriteProfileInt(std::string_view section, std::string_view entry, int value) override;

  private:
    QSettings settings_;
};

}  // namespace kantoria
