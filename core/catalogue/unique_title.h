// Titles for entries registered in bulk: a name that another entry already bears as its title
// gets the first free counter appended (name1, name2, ...).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "core/catalogue/entry_list.h"

namespace kantoria {

class UniqueTitles {
  public:
    // A title for name that no entry of entries bears. Titles are expected to be only added
    // between calls, so every counter handed out before stays taken and is not tried again.
    std::string For(const EntryList& entries, std::string_view name);
    void Clear() { nextCounter_.clear(); }

  private:
    // Per title base (folded): the counter to try first.
    std::unordered_map<std::string, int> nextCounter_;
};

}  // namespace kantoria
