// Where the main window opens and what is remembered of it: the outer rectangle kept in the
// "STATUS" section.
#pragma once

#include <optional>
#include <span>

#include "core/ports/settings_store.h"

namespace kantoria {

struct WinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool AllZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool operator==(const WinRect&) const = default;
};

// All 0 when nothing is stored.
WinRect ReadWindowRect(SettingsStore& settings);
void WriteWindowRect(SettingsStore& settings, const WinRect& rect);

// The rectangle to open the window at, or nothing for the desktop's default placement: a
// rectangle that is all 0, has no area, or lies on none of the screens (a monitor that has
// since been unplugged) is not used.
std::optional<WinRect> PlacementFor(const WinRect& saved, std::span<const WinRect> screens);

}  // namespace kantoria
