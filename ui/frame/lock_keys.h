// Whether Caps Lock, Num Lock and Scroll Lock are on, where the platform lets us read it.
#pragma once

#include <optional>

namespace kantoria {

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// Nothing when the windowing system does not tell (Wayland, offscreen).
std::optional<LockKeys> ReadLockKeys();

}  // namespace kantoria
