// What the main frame needs of the two views in its splitter: each is a command target on the
// routing path while it is the active view, and a document observer that refreshes itself on
// every update it did not send.
#pragma once

#include <functional>

#include "core/app/command_target.h"
#include "core/catalogue/catalogue.h"

class QSplitter;
class QWidget;

namespace kantoria {

struct AppServices;
class EntryHistory;

// What a view may ask of the frame.
class CommandRouter {
  public:
    virtual ~CommandRouter() = default;
    // Sends id along the routing path, as a menu item would (context menus use this).
    virtual void RouteCommand(int id) = 0;
    // Re-evaluates which commands are enabled, after a view's selection changed.
    virtual void UpdateCommandUI() = 0;
};

class CatalogueView : public CommandTarget, public CatalogueObserver {
  public:
    // The widget that shows the view; the frame's splitter owns it.
    virtual QWidget* Widget() = 0;
    // The document has just been opened or created: fill from it.
    virtual void OnInitialUpdate() { OnUpdate(nullptr); }
};

struct ViewContext {
    Catalogue& doc;
    AppServices& services;
    CommandRouter& router;
    EntryHistory* history;  // records the views' changes for undo; null records nothing
};

// The two views of the splitter. The widgets are children of the splitter, which owns them.
struct FrameViews {
    CatalogueView* tree = nullptr;  // left pane
    CatalogueView* list = nullptr;  // right pane, the active view after creation
};

// Creates both views as children of splitter, the tree first. A view left null means it could
// not be created, and the frame is then not created either.
using ViewFactory = std::function<FrameViews(QSplitter& splitter, const ViewContext& context)>;

}  // namespace kantoria
