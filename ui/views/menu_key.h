// The keys that ask for the focused item's context menu: the menu key and Shift+F10.
#pragma once

#include <QKeyEvent>

namespace kantoria {

inline bool IsContextMenuKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    return (key.key() == Qt::Key_Menu && mods == Qt::NoModifier) ||
           (key.key() == Qt::Key_F10 && mods == Qt::ShiftModifier);
}

}  // namespace kantoria
