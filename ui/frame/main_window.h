// The main window: menu bar, dockable toolbar, status bar and, as its client area, a splitter
// with the holder tree on the left and the entry list on the right. It routes every command
// along active view, document, frame, application, and remembers its outer rectangle.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/app/window_rect.h"
#include "ui/frame/catalogue_view.h"
#include "ui/frame/frame_menus.h"
#include "ui/seams/app_services.h"

class QLabel;
class QLineEdit;
class QSplitter;
class QTimer;
class QToolBar;

namespace kantoria {

class ContentFind;
class EntryListView;
class FindController;
class FramePreview;
class RecentFileList;

inline constexpr int kTreePaneWidth = 250;

class MainWindow final : public QMainWindow,
                         public CommandTarget,
                         public CommandRouter,
                         public CatalogueObserver {
    Q_OBJECT

  public:
    struct Route {
        CommandTarget& document;
        CommandTarget& application;
    };

    // Reads the saved rectangle and builds bars, menus and the two views.
    // history, when there is one, records the views' changes to the entries.
    MainWindow(AppServices& services, Catalogue& doc, EntryHistory* history, Route route,
               const ViewFactory& factory);
    // Writes the outer rectangle to the settings, then the views go with their splitter.
    ~MainWindow() override;

    // False when a view could not be created; the frame must then not be used.
    bool Created() const { return views_.tree != nullptr && views_.list != nullptr; }

    // Shows the window at its saved place (or the default one) and lets it accept dropped files.
    void ShowAtSavedPlace();
    // The caption for the document at path (empty while untitled).
    void SetDocumentPath(const std::string& path);
    // The caption without the mark of unsaved changes, as other instances look for it.
    const std::string& Caption() const { return caption_; }
    // Fills both views from the document.
    void InitialUpdate();
    // Shows the window at its normal size in front of the others.
    void RestoreAndRaise();
    void ShowRecentFiles(const RecentFileList& recent);

    // Receives the files dropped on the window, in the order they were dropped.
    void SetDropHandler(std::function<void(const std::vector<std::string>&)> handler) {
        dropHandler_ = std::move(handler);
    }

    // Asked before the window closes; false keeps it open.
    void SetCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

    const FrameViews& Views() const { return views_; }
    // The entry list among the views; null when the views are stand-ins.
    EntryListView* ListView() const;
    CatalogueView* ActiveView() const { return activeView_; }
    void SetActiveView(CatalogueView* view);
    QToolBar* ToolBar() const { return toolbar_; }
    // The toolbar's find field: as the user types, the entry list shows every entry of the
    // catalogue that holds each word; Escape or an empty field goes back to the shown holder.
    QLineEdit* FindField() const { return findField_; }
    // The find field's reading of documents and the content index behind it.
    ContentFind* ContentSearch() const { return content_; }
    QSplitter* Splitter() const { return splitter_; }
    // The preview pane right of the list (表示 > プレビュー); null when the views are stand-ins.
    FramePreview* Preview() const { return preview_; }
    // The menu bar's action for id (the recent files excepted); nullptr when none.
    QAction* MenuAction(int id) const;
    // The accelerator action of id; nullptr when the table binds no key to it.
    QAction* AcceleratorAction(int id) const;
    const std::vector<QAction*>& RecentActions() const { return recentActions_; }
    // What routing decides for id right now.
    CommandState StateOf(int id);
    // The outer rectangle as it would be remembered now.
    WinRect RememberedRect() const;
    QString IdleMessage() const;

    bool QueryCommand(int id, CommandState& state) override;
    void RunCommand(int id) override;
    void RouteCommand(int id) override;
    void UpdateCommandUI() override;
    // The caption's mark follows the document's entries after every change.
    void OnUpdate(CatalogueObserver* sender) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateBars();
    void CreateClient(const ViewFactory& factory, Catalogue& doc, EntryHistory* history);
    void ApplySavedPlacement();
    bool FitToPendingOuter();
    void UpdateMenuCommands(const std::vector<int>& ids);
    void ShowCommandText(QAction& action, const CommandState& state);
    void UpdateIndicators();
    void OnFocusChanged(QWidget* now);
    void ActivateOtherPane();
    void OpenHelp();
    void CreateFindField();
    void CreateContentFind();
    void FocusFindField();
    // Moves the focus to the entry list, on its first row when none is selected; false when
    // the list has no rows.
    bool EnterList();
    WinRect OuterRect() const;

    AppServices& services_;
    Catalogue& doc_;
    Route route_;
    std::string caption_;
    QSplitter* splitter_ = nullptr;
    WinRect savedRect_;
    std::optional<WinRect> pendingOuter_;  // the size to correct once the frame is known
    std::optional<WinRect> closedRect_;
    bool shownOnce_ = false;
    QToolBar* toolbar_ = nullptr;
    QLabel* idleLabel_ = nullptr;
    QLineEdit* findField_ = nullptr;
    FindController* find_ = nullptr;   // a child of the window
    ContentFind* content_ = nullptr;   // a child of the window
    FramePreview* preview_ = nullptr;  // a child of the splitter
    std::vector<QLabel*> indicators_;
    BuiltMenus menus_;
    std::map<int, QAction*> accelerators_;
    std::map<int, QString> menuTexts_;  // the menu's own text of commands that change theirs
    std::vector<QAction*> recentActions_;
    FrameViews views_;
    CatalogueView* activeView_ = nullptr;
    std::function<void(const std::vector<std::string>&)> dropHandler_;
    std::function<bool()> closeGuard_;
};

}  // namespace kantoria
