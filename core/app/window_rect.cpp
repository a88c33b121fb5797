#include "core/app/window_rect.h"

#include <algorithm>
#include <string>

#include "core/resources/string_table.h"

namespace kantoria {
namespace {

std::string_view Section() {
    return LoadString(IDS_SECTION_STATUS);
}

bool Overlaps(const WinRect& a, const WinRect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

}  // namespace

WinRect ReadWindowRect(SettingsStore& settings) {
    WinRect rect;
    rect.left = settings.GetProfileInt(Section(), LoadString(IDS_VALUE_WINPOSX), 0);
    rect.top = settings.GetProfileInt(Section(), LoadString(IDS_VALUE_WINPOSY), 0);
    rect.right = rect.left + settings.GetProfileInt(Section(), LoadString(IDS_VALUE_WINWIDTH), 0);
    rect.bottom = rect.top + settings.GetProfileInt(Section(), LoadString(IDS_VALUE_WINHEIGHT), 0);
    return rect;
}

void WriteWindowRect(SettingsStore& settings, const WinRect& rect) {
    settings.WriteProfileInt(Section(), LoadString(IDS_VALUE_WINPOSX), rect.left);
    settings.WriteProfileInt(Section(), LoadString(IDS_VALUE_WINPOSY), rect.top);
    settings.WriteProfileInt(Section(), LoadString(IDS_VALUE_WINWIDTH), rect.Width());
    settings.WriteProfileInt(Section(), LoadString(IDS_VALUE_WINHEIGHT), rect.Height());
}

std::optional<WinRect> PlacementFor(const WinRect& saved, std::span<const WinRect> screens) {
    if (saved.AllZero() || saved.Width() <= 0 || saved.Height() <= 0) return std::nullopt;
    const bool visible = std::any_of(screens.begin(), screens.end(), [&](const WinRect& screen) {
        return Overlaps(saved, screen);
    });
    if (!visible) return std::nullopt;
    return saved;
}

}  // namespace kantoria
