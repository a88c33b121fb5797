#include "core/os/save_names.h"

#include "core/os/atomic_file.h"
#include "core/os/file_lock.h"

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

bool IsLockFileFailure(const Status& status) {
    return !status && status.reason().starts_with(kLockFileWords);
}

bool IsLockFileOf(std::string_view targetName, std::string_view name) {
    return name.size() == 1 + targetName.size() + kLockSuffix.size() && name[0] == '.' &&
           name.substr(1, targetName.size()) == targetName && name.ends_with(kLockSuffix);
}

}  // namespace kantoria
