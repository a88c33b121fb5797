#include "ui/frame/frame_menus.h"

#include <QKeySequence>
#include <QMenuBar>
#include <QPixmap>
#include <QToolBar>

#include "core/resources/accelerator_table.h"
#include "core/resources/command_ids.h"
#include "core/resources/menu_resources.h"
#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"

namespace kantoria {
namespace {

QAction* MakeAction(const MenuItem& item, QObject* parent) {
    auto* action = new QAction(ToQt(item.text), parent);
    action->setData(item.id);
    action->setIconVisibleInMenu(false);
    if (item.id >= kFirstFrameworkCommand) {
        action->setStatusTip(ToQt(CommandPrompt(item.id)));
        const std::string_view tooltip = CommandTooltip(item.id);
        if (!tooltip.empty()) action->setToolTip(ToQt(tooltip));
    }
    if (item.grayed) action->setEnabled(false);
    return action;
}

void FillPopup(QMenu& popup, const std::vector<MenuItem>& items, BuiltMenus& built) {
    for (const MenuItem& item : items) {
        switch (item.kind) {
            case MenuItem::Kind::Separator:
                popup.addSeparator();
                break;
            case MenuItem::Kind::Popup:
                FillPopup(*popup.addMenu(ToQt(item.text)), item.items, built);
                break;
            case MenuItem::Kind::Command: {
                QAction* action = MakeAction(item, &popup);
                popup.addAction(action);
                built.commandsOf[&popup].push_back(item.id);
                if (item.id == ID_FILE_MRU_FILE1) {
                    built.recentPlaceholder = action;
                    built.fileMenu = &popup;
                } else {
                    built.actions[item.id] = action;
                }
                break;
            }
        }
    }
}

}  // namespace

BuiltMenus BuildMenuBar(QMenuBar& bar, const std::vector<MenuItem>& menu) {
    BuiltMenus built;
    for (const MenuItem& popup : menu)
        FillPopup(*bar.addMenu(ToQt(popup.text)), popup.items, built);
    return built;
}

std::vector<QIcon> ToolbarIcons() {
    const QPixmap strip(QStringLiteral(":/kantoria/toolbar128.xpm"));
    std::vector<QIcon> icons;
    for (int x = 0; x + kToolbarImageWidth <= strip.width(); x += kToolbarImageWidth)
        icons.emplace_back(strip.copy(x, 0, kToolbarImageWidth, kToolbarImageHeight));
    return icons;
}

void FillToolbar(QToolBar& toolbar, const std::map<int, QAction*>& actions) {
    const std::vector<QIcon> icons = ToolbarIcons();
    size_t image = 0;
    for (int id : MainToolbarButtons()) {
        if (id == 0) {
            toolbar.addSeparator();
            continue;
        }
        QAction* action = actions.at(id);
        if (image < icons.size()) action->setIcon(icons[image]);
        // The button's text, which a screen reader says: the menu item's without its keys.
        action->setIconText(ToQt(PlainMenuText(FromQt(action->text()))));
        ++image;
        toolbar.addAction(action);
    }
}

std::map<int, QAction*> BuildAccelerators(QWidget& window) {
    std::map<int, QList<QKeySequence>> keys;
    for (const Accelerator& accelerator : MainAccelerators())
        keys[accelerator.id].append(
            QKeySequence(ToQt(accelerator.keys), QKeySequence::PortableText));
    std::map<int, QAction*> actions;
    for (const auto& [id, sequences] : keys) {
        auto* action = new QAction(&window);
        action->setShortcuts(sequences);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setData(id);
        window.addAction(action);
        actions[id] = action;
    }
    return actions;
}

}  // namespace kantoria
