// Building the menu bar, the toolbar and the accelerators of the main window from their
// resource tables.
#pragma once

#include <QAction>
#include <QIcon>
#include <map>
#include <vector>

#include "core/resources/menu_resources.h"

class QMenuBar;
class QMenu;
class QToolBar;
class QWidget;

namespace kantoria {

struct BuiltMenus {
    std::map<int, QAction*> actions;                // one action per command of the menu bar
    std::map<QMenu*, std::vector<int>> commandsOf;  // the commands each popup shows
    QMenu* fileMenu = nullptr;
    QAction* recentPlaceholder = nullptr;  // "最新のファイル", replaced by the recent files
};

// Fills bar with the popups of menu. Each action carries its command id as data, its status
// prompt as status tip and its tooltip; the program's own commands carry neither.
BuiltMenus BuildMenuBar(QMenuBar& bar, const std::vector<MenuItem>& menu);

// The ten toolbar pictures, cut from the toolbar strip.
std::vector<QIcon> ToolbarIcons();

// Adds the toolbar's buttons to toolbar, reusing the menu bar's actions.
void FillToolbar(QToolBar& toolbar, const std::map<int, QAction*>& actions);

// One action per command of the accelerator table, with all of its keys, added to window so
// that the keys work wherever the focus is in it.
std::map<int, QAction*> BuildAccelerators(QWidget& window);

}  // namespace kantoria
