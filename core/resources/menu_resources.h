// The menus as data: the menu bar (128), the entry list's context menu (137) and the holder
// tree's context menu (145). The widgets build themselves from these tables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kantoria {

struct MenuItem {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    std::string_view text;        // with its '&' mnemonic and, after a TAB, the key hint
    int id = 0;                   // Command only
    bool grayed = false;          // shown disabled whatever the routing says
    std::vector<MenuItem> items;  // Popup only
};

inline constexpr int IDR_MAINFRAME_MENU = 128;
inline constexpr int IDR_ENTRY_CONTEXT_MENU = 137;
inline constexpr int IDR_HOLDER_CONTEXT_MENU = 145;

// The top-level popups of menu id; empty for an unknown id.
const std::vector<MenuItem>& LoadMenu(int id);

// A menu item's text as the command's name, for a toolbar button and a screen reader: without
// the key hint after the TAB, the mnemonic ("(&N)" after the text, or a '&' within it) and a
// closing "...".
std::string PlainMenuText(std::string_view text);

}  // namespace kantoria
