#include "ui/frame/frame_views.h"

#include <QSplitter>
#include <array>
#include <utility>

#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"
#include "core/views/entry_commands_logic.h"
#include "platform/qt/qt_icon_factory.h"
#include "ui/seams/app_services.h"
#include "ui/views/entry_list_view.h"
#include "ui/views/holder_tree_view.h"

namespace kantoria {
namespace {

// A view's place on the command route. It lives as a child of its widget, so the splitter
// that owns the widget owns it too. The widget itself hears the document's updates.
class RoutedView : public QObject, public CatalogueView {
  public:
    explicit RoutedView(QWidget* widget) : QObject(widget), widget_(widget) {}
    QWidget* Widget() override { return widget_; }
    void OnUpdate(CatalogueObserver*) override {}
    void OnInitialUpdate() override { AsObserver().OnUpdate(nullptr); }

  protected:
    virtual CatalogueObserver& AsObserver() = 0;

  private:
    QWidget* widget_;
};

// Whether the tree shows its grey folder nodes is remembered in the settings.
class RoutedTree final : public RoutedView {
  public:
    RoutedTree(HolderTreeView* tree, SettingsStore& settings)
        : RoutedView(tree), tree_(tree), settings_(settings) {
        tree_->SetShowFolders(settings_.GetProfileInt(LoadString(IDS_SECTION_SETTINGS),
                                                      LoadString(IDS_VALUE_FOLDERTREE), 0) != 0);
    }
    bool QueryCommand(int id, CommandState& state) override {
        if (id == ID_HOLDER_RELOCATE) {
            state.enabled = tree_->CanRelocateShownHolder();
            return true;
        }
        if (id == ID_VIEW_FOLDERS) {
            state.checked = tree_->ShowsFolders();
            return true;
        }
        return id == ID_HOLDER_EXPLORER;
    }
    void RunCommand(int id) override {
        if (id == ID_HOLDER_RELOCATE) {
            tree_->RelocateShownHolder();
        } else if (id == ID_VIEW_FOLDERS) {
            tree_->SetShowFolders(!tree_->ShowsFolders());
            settings_.WriteProfileInt(LoadString(IDS_SECTION_SETTINGS),
                                      LoadString(IDS_VALUE_FOLDERTREE), tree_->ShowsFolders());
        } else {
            tree_->OnHolderExplorer();
        }
    }

  private:
    CatalogueObserver& AsObserver() override { return *tree_; }
    HolderTreeView* tree_;
    SettingsStore& settings_;
};

class RoutedList final : public RoutedView {
  public:
    RoutedList(EntryListView* list, CommandRouter& router) : RoutedView(list), list_(list) {
        // The popup menu's commands travel the frame's route, like the menu bar's.
        list->SetCommandRoute([&router](int id) { router.RouteCommand(id); });
        QObject::connect(list, &EntryListView::CommandStatesChanged, this,
                         [&router] { router.UpdateCommandUI(); });
    }

    bool QueryCommand(int id, CommandState& state) override {
        for (const auto& [command, type] : kModes) {
            if (id != command) continue;
            state.checked = list_->viewType() == type;
            return true;
        }
        if (!EntryListView::HandlesCommand(id)) return false;
        state.enabled = list_->CommandEnabled(id);
        return true;
    }

    void RunCommand(int id) override {
        switch (id) {
            case ID_VIEW_LARGEICON:
                list_->OnViewLargeIcon();
                break;
            case ID_VIEW_SMALLICON:
                list_->OnViewSmallIcon();
                break;
            case ID_VIEW_LIST:
                list_->OnViewList();
                break;
            case ID_VIEW_DETAILS:
                list_->OnViewDetails();
                break;
            default:
                list_->RunCommand(id);
                break;
        }
    }

  private:
    static constexpr std::array<std::pair<int, ViewType>, 4> kModes = {{
        {ID_VIEW_LARGEICON, ViewType::LargeIcon},
        {ID_VIEW_SMALLICON, ViewType::SmallIcon},
        {ID_VIEW_LIST, ViewType::List},
        {ID_VIEW_DETAILS, ViewType::Report},
    }};
    CatalogueObserver& AsObserver() override { return *list_; }
    EntryListView* list_;
};

}  // namespace

FrameViews MakeFrameViews(QSplitter& splitter, const ViewContext& context) {
    AppServices& services = context.services;
    auto* tree = new HolderTreeView(context.doc, services.shell, services.messages, &splitter);
    tree->SetRelocateServices({services.files, services.icons, &PathExists});
    tree->SetHistory(context.history);
    const EntryListServices listServices{services.settings, services.messages, services.files,
                                         services.dialogs,  services.shell,    services.icons};
    auto* list = new EntryListView(context.doc, listServices, &splitter);
    list->SetHistory(context.history);
    tree->SetList(list);
    Catalogue& doc = context.doc;
    list->SetIconLookup([&doc](int image, bool large) -> QIcon {
        const auto& images = ImagesOf(large ? doc.LargeImages() : doc.SmallImages());
        if (image < 0 || static_cast<std::size_t>(image) >= images.size()) return {};
        return QIcon(images[static_cast<std::size_t>(image)]);
    });
    splitter.addWidget(tree);
    splitter.addWidget(list);
    return {new RoutedTree(tree, services.settings), new RoutedList(list, context.router)};
}

}  // namespace kantoria
