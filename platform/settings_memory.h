// Settings held in memory, for tests and for runs that must leave the user's settings alone.
#pragma once

#include <map>
#include <utility>

#include "platform/settings_store.h"

namespace kantoria {

class MemorySettings final : public SettingsStore {
  public:
    std::optional<std::string> GetString(std::string_view section,
                                         std::string_view name) const override {
        const auto it = values_.find(Key(section, name));
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }
    void WriteString(std::string_view section, std::string_view name,
                     std::string_view value) override {
        values_[Key(section, name)] = std::string(value);
    }

  private:
    static std::pair<std::string, std::string> Key(std::string_view section,
                                                   std::string_view name) {
        return {std::string(section), std::string(name)};
    }
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

}  // namespace kantoria
