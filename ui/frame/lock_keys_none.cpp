#include "ui/frame/lock_keys.h"

namespace kantoria {

std::optional<LockKeys> ReadLockKeys() {
    return std::nullopt;
}

}  // namespace kantoria
