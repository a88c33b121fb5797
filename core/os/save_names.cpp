#include "core/os/save_names.h"

#include "core/os/atomic_file.h"

namespace kantoria {

bool IsSaveTempName(std::string_view name, std::string_view target) {
    if (name.size() <= 1 + target.size() + kSaveTempMark.size() || name[0] != '.' ||
        name.substr(1, target.size()) != target ||
        name.substr(1 + target.size(), kSaveTempMark.size()) != kSaveTempMark)
        return false;
    for (const char c : name.substr(1 + target.size() + kSaveTempMark.size()))
        if ((c < '0' || c > '9') && c != '-') return false;
    return true;
}

}  // namespace kantoria
