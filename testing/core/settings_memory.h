// Settings held in memory: for tests and for runs that must not touch the user's settings.
#pragma once

#include <exception>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "core/ports/settings_store.h"

namespace kantoria {

class MemorySettingsStore final : public SettingsStore {
  public:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, std::string> values;  // (section, entry) -> text

    bool Has(std::string_view section, std::string_view entry) const {
        return values.count(Key(section, entry)) != 0;
    }
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view def) override {
        const auto it = values.find(Key(section, entry));
        return it == values.end() ? std::string(def) : it->second;
    }
    int GetProfileInt(std::string_view section, std::string_view entry, int def) override {
        const auto it = values.find(Key(section, entry));
        if (it == values.end()) return def;
        try {
            size_t used = 0;
            const int value = std::stoi(it->second, &used);
            return used == it->second.size() ? value : def;
        } catch (const std::exception&) {
            return def;
        }
    }
    void WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override {
        values[Key(section, entry)] = std::string(value);
    }
    void WriteProfileInt(std::string_view section, std::string_view entry, int value) override {
        values[Key(section, entry)] = std::to_string(value);
    }
};

}  // namespace kantoria
