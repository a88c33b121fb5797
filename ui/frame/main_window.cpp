#include "ui/frame/main_window.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>
#include <array>
#include <utility>

#include "core/app/instance_match.h"
#include "core/app/recent_files.h"
#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"
#include "core/views/entry_find.h"
#include "platform/qt/qt_text.h"
#include "ui/frame/content_find.h"
#include "ui/frame/find_controller.h"
#include "ui/frame/frame_preview.h"
#include "ui/frame/help_files.h"
#include "ui/frame/lock_keys.h"
#include "ui/seams/resources_init.h"
#include "ui/views/entry_list_view.h"

namespace kantoria {
namespace {

WinRect FromQRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

std::vector<WinRect> ScreenRects() {
    std::vector<WinRect> rects;
    for (const QScreen* screen : QGuiApplication::screens())
        rects.push_back(FromQRect(screen->geometry()));
    return rects;
}

std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths.push_back(PathFromQt(url.toLocalFile()));
    }
    return paths;
}

// The caption with Qt's place for the mark of unsaved changes after the document's name; a
// "[*]" of the name itself is doubled, which Qt shows as one.
QString ModifiableCaption(const std::string& caption) {
    QString text = ToQt(caption);
    text.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    const qsizetype dash = text.lastIndexOf(QStringLiteral(" - "));
    return dash < 0 ? text + QStringLiteral("[*]") : text.insert(dash, QStringLiteral("[*]"));
}

constexpr int kFindFieldWidth = 240;

constexpr int kFramePollMs = 50;
constexpr int kFrameWaitMs = 3000;

bool IsLockKey(int key) {
    return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
}

}  // namespace

MainWindow::MainWindow(AppServices& services, Catalogue& doc, EntryHistory* history, Route route,
                       const ViewFactory& factory)
    : services_(services), doc_(doc), route_(route), savedRect_(ReadWindowRect(services.settings)) {
    InitResources();
    setWindowIcon(QIcon(QStringLiteral(":/kantoria/icon128.xpm")));
    ApplySavedPlacement();
    CreateBars();
    CreateClient(factory, doc, history);
    CreateContentFind();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    qApp->installEventFilter(this);
    UpdateIndicators();
    doc_.AddObserver(this);
}

MainWindow::~MainWindow() {
    // Hiding and destroying the children moves the focus: this frame must not hear of it.
    doc_.RemoveObserver(this);
    disconnect(qApp, nullptr, this, nullptr);
    qApp->removeEventFilter(this);
    activeView_ = nullptr;
    // A frame that never showed has nothing of its own to remember.
    if (shownOnce_) WriteWindowRect(services_.settings, closedRect_ ? *closedRect_ : OuterRect());
}

void MainWindow::CreateBars() {
    menus_ = BuildMenuBar(*menuBar(), LoadMenu(IDR_MAINFRAME_MENU));
    for (const auto& [id, action] : menus_.actions) {
        connect(action, &QAction::triggered, this, [this, id = id] { RouteCommand(id); });
    }
    // The four layouts of the list are one choice: shown as radio items.
    auto* layouts = new QActionGroup(this);
    layouts->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int id : {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS})
        layouts->addAction(menus_.actions.at(id));
    for (const auto& [popup, ids] : menus_.commandsOf) {
        connect(popup, &QMenu::aboutToShow, this, [this, ids = ids] { UpdateMenuCommands(ids); });
    }

    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("toolbar128"));
    toolbar_->setMovable(true);
    toolbar_->setFloatable(true);
    toolbar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolbar_->setIconSize(QSize(16, 15));
    FillToolbar(*toolbar_, menus_.actions);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    CreateFindField();

    accelerators_ = BuildAccelerators(*this);
    for (const auto& [id, action] : accelerators_) {
        connect(action, &QAction::triggered, this, [this, id = id] { RouteCommand(id); });
    }
    // The idle prompt promises help on F1.
    auto* f1 = new QAction(this);
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(f1);
    connect(f1, &QAction::triggered, this, [this] { RouteCommand(ID_HELP); });
    // The find field's key belongs to the window, so it works with the toolbar hidden too.
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_F));
    addAction(find);
    connect(find, &QAction::triggered, this, [this] { RouteCommand(ID_ENTRY_FIND); });

    idleLabel_ = new QLabel(IdleMessage(), this);
    statusBar()->setAccessibleName(ToQt(LoadString(IDS_NAME_STATUS_BAR)));
    statusBar()->addWidget(idleLabel_, 1);
    // A pane says nothing while its key is off: a screen reader hears its key's name, and
    // whether it is on (UpdateIndicators).
    for (const auto& [id, name] : {std::pair{ID_INDICATOR_CAPS, IDS_NAME_CAPS_LOCK},
                                   std::pair{ID_INDICATOR_NUM, IDS_NAME_NUM_LOCK},
                                   std::pair{ID_INDICATOR_SCRL, IDS_NAME_SCROLL_LOCK}}) {
        auto* pane = new QLabel(this);
        pane->setAccessibleName(ToQt(LoadString(name)));
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        // Wide enough for the text, shown or not, so the panes never jump.
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(ToQt(LoadString(id))) + 12);
        statusBar()->addPermanentWidget(pane);
        indicators_.push_back(pane);
    }
}

void MainWindow::CreateClient(const ViewFactory& factory, Catalogue& doc, EntryHistory* history) {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    setCentralWidget(splitter_);
    views_ = factory(*splitter_, ViewContext{doc, services_, *this, history});
    if (!Created()) return;
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kTreePaneWidth, std::max(1, width() - kTreePaneWidth)});
    SetActiveView(views_.list);
    if (auto* list = qobject_cast<EntryListView*>(views_.list->Widget())) {
        preview_ = new FramePreview(*splitter_, *list, *findField_, services_.settings, doc);
        connect(list, &EntryListView::StatusTextChanged, this, [this](const QString& text) {
            idleLabel_->setText(text.isEmpty() ? IdleMessage() : text);
        });
    }
}

EntryListView* MainWindow::ListView() const {
    return views_.list == nullptr ? nullptr : qobject_cast<EntryListView*>(views_.list->Widget());
}

void MainWindow::CreateFindField() {
    toolbar_->addSeparator();
    findField_ = new QLineEdit(toolbar_);
    findField_->setObjectName(QStringLiteral("findField"));
    findField_->setClearButtonEnabled(true);
    findField_->setAccessibleName(ToQt(LoadString(IDS_NAME_FIND_FIELD)));
    for (QToolButton* clear : findField_->findChildren<QToolButton*>())
        clear->setAccessibleName(ToQt(LoadString(IDS_NAME_FIND_CLEAR)));
    findField_->setPlaceholderText(ToQt(LoadString(IDS_FIND_PLACEHOLDER)));
    findField_->setMaximumWidth(kFindFieldWidth);
    toolbar_->addWidget(findField_);
    find_ = new FindController(
        *findField_, doc_, [this] { return ListView(); }, this);
}

void MainWindow::CreateContentFind() {
    content_ = new ContentFind(
        doc_, services_.settings, *statusBar(), [this] { return ListView(); }, this);
    toolbar_->addAction(content_->Toggle());
    find_->SetFindListener([this](const std::string& text) { content_->Find(text); });
}

bool MainWindow::EnterList() {
    EntryListView* list = ListView();
    if (list == nullptr || list->entryModel()->rowCount() == 0) return false;
    SetActiveView(views_.list);
    QAbstractItemView* view = list->currentView();
    view->setFocus(Qt::ShortcutFocusReason);
    if (!view->selectionModel()->hasSelection())
        view->setCurrentIndex(list->entryModel()->index(0, 0));
    return true;
}

void MainWindow::FocusFindField() {
    // The keys work with the toolbar hidden too: it comes back to show the field.
    if (toolbar_->isHidden()) toolbar_->show();
    findField_->setFocus(Qt::ShortcutFocusReason);
    findField_->selectAll();
}

void MainWindow::ApplySavedPlacement() {
    const std::vector<WinRect> screens = ScreenRects();
    if (const std::optional<WinRect> place = PlacementFor(savedRect_, screens)) {
        move(place->left, place->top);
        resize(place->Width(), place->Height());
        pendingOuter_ = place;
        return;
    }
    // The desktop chooses where; the size is three quarters of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size() * 3 / 4);
}

void MainWindow::ShowAtSavedPlace() {
    // The entry list is the active view after creation, and keeps the focus it implies.
    if (activeView_ != nullptr) activeView_->Widget()->setFocus(Qt::OtherFocusReason);
    show();
    setAcceptDrops(true);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    shownOnce_ = true;
    if (!pendingOuter_ || FitToPendingOuter()) return;
    // On X11 the window manager frames the window only after it is shown: look again for a
    // while, and keep the size given if no frame ever comes.
    auto* poll = new QTimer(this);
    poll->setInterval(kFramePollMs);
    connect(poll, &QTimer::timeout, this, [this, poll, rounds = 0]() mutable {
        if (FitToPendingOuter() || ++rounds * kFramePollMs >= kFrameWaitMs) {
            pendingOuter_.reset();
            poll->deleteLater();
            poll->stop();
        }
    });
    poll->start();
}

// The remembered rectangle is the outer one: the window frame comes off once it is known.
bool MainWindow::FitToPendingOuter() {
    const QSize frame = frameGeometry().size() - size();
    if (!pendingOuter_ || frame.isNull()) return false;
    const WinRect outer = *pendingOuter_;
    pendingOuter_.reset();
    resize(outer.Width() - frame.width(), outer.Height() - frame.height());
    move(outer.left, outer.top);
    return true;
}

WinRect MainWindow::OuterRect() const {
    if (!isMinimized()) return FromQRect(frameGeometry());
    // A minimised window's own rectangle lies off the screen: remember where it will come back.
    const QRect normal = normalGeometry();
    if (!normal.isValid()) return savedRect_;
    const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();
    const QSize frameSize = frameGeometry().size() - size();
    return FromQRect(QRect(normal.topLeft() - frameOffset, normal.size() + frameSize));
}

WinRect MainWindow::RememberedRect() const {
    return closedRect_ ? *closedRect_ : OuterRect();
}

QString MainWindow::IdleMessage() const {
    return ToQt(LoadString(AFX_IDS_IDLEMESSAGE));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_()) {
        event->ignore();
        return;
    }
    closedRect_ = OuterRect();
    QMainWindow::closeEvent(event);
}

void MainWindow::SetDocumentPath(const std::string& path) {
    caption_ = FrameCaption(path);
    setWindowTitle(ModifiableCaption(caption_));
    setWindowModified(doc_.IsModified());
    if (content_ != nullptr) content_->CatalogueAt(path);
}

void MainWindow::OnUpdate(CatalogueObserver*) {
    setWindowModified(doc_.IsModified());
    if (find_ != nullptr) find_->CatalogueUpdated();
    if (content_ != nullptr) content_->CatalogueUpdated();
}

void MainWindow::InitialUpdate() {
    views_.tree->OnInitialUpdate();
    views_.list->OnInitialUpdate();
    UpdateCommandUI();
}

void MainWindow::RestoreAndRaise() {
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::ShowRecentFiles(const RecentFileList& recent) {
    for (QAction* action : recentActions_) delete action;
    recentActions_.clear();
    QAction* placeholder = menus_.recentPlaceholder;
    if (placeholder == nullptr) return;
    placeholder->setVisible(recent.Empty());
    for (size_t i = 0; i < recent.Items().size(); ++i) {
        const int id = ID_FILE_MRU_FILE1 + static_cast<int>(i);
        auto* action = new QAction(ToQt(recent.MenuText(i)), menus_.fileMenu);
        action->setData(id);
        action->setStatusTip(ToQt(CommandPrompt(id)));
        menus_.fileMenu->insertAction(placeholder, action);
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        recentActions_.push_back(action);
    }
}

void MainWindow::SetActiveView(CatalogueView* view) {
    if (view == nullptr || view == activeView_) return;
    activeView_ = view;
    UpdateCommandUI();
}

void MainWindow::OnFocusChanged(QWidget* now) {
    for (CatalogueView* view : {views_.tree, views_.list}) {
        QWidget* widget = view != nullptr ? view->Widget() : nullptr;
        if (widget != nullptr && now != nullptr && (now == widget || widget->isAncestorOf(now))) {
            SetActiveView(view);
            return;
        }
    }
}

QAction* MainWindow::MenuAction(int id) const {
    const auto it = menus_.actions.find(id);
    return it == menus_.actions.end() ? nullptr : it->second;
}

QAction* MainWindow::AcceleratorAction(int id) const {
    const auto it = accelerators_.find(id);
    return it == accelerators_.end() ? nullptr : it->second;
}

CommandState MainWindow::StateOf(int id) {
    CommandState state;
    const std::array<CommandTarget*, 4> route = {activeView_, &route_.document, this,
                                                 &route_.application};
    FindCommandHandler(route, id, state);
    return state;
}

void MainWindow::RouteCommand(int id) {
    CommandState state;
    const std::array<CommandTarget*, 4> route = {activeView_, &route_.document, this,
                                                 &route_.application};
    CommandTarget* handler = FindCommandHandler(route, id, state);
    if (handler == nullptr || !state.enabled) return;
    QPointer<MainWindow> alive(this);
    handler->RunCommand(id);
    if (alive) UpdateCommandUI();
}

void MainWindow::ShowCommandText(QAction& action, const CommandState& state) {
    const int id = action.data().toInt();
    if (!state.text && menuTexts_.count(id) == 0) return;
    // The menu's own text comes back once the command no longer names what it acts on.
    const QString own = menuTexts_.emplace(id, action.text()).first->second;
    const qsizetype tab = own.indexOf(QLatin1Char('\t'));
    const QString keys = tab < 0 ? QString() : own.mid(tab);
    action.setText(state.text ? ToQt(*state.text) + keys : own);
    action.setStatusTip(state.prompt ? ToQt(*state.prompt) : ToQt(CommandPrompt(id)));
}

void MainWindow::UpdateMenuCommands(const std::vector<int>& ids) {
    for (int id : ids) {
        QAction* action = MenuAction(id);
        if (action == nullptr) continue;
        const CommandState state = StateOf(id);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checked.has_value());
        if (state.checked) action->setChecked(*state.checked);
        ShowCommandText(*action, state);
    }
}

void MainWindow::UpdateCommandUI() {
    for (const auto& [popup, ids] : menus_.commandsOf) UpdateMenuCommands(ids);
    setWindowModified(doc_.IsModified());
}

bool MainWindow::QueryCommand(int id, CommandState& state) {
    switch (id) {
        case ID_VIEW_TOOLBAR:
            state.checked = !toolbar_->isHidden();
            return true;
        case ID_VIEW_STATUS_BAR:
            state.checked = !statusBar()->isHidden();
            return true;
        case ID_HOLDER_RELOCATE:
        case ID_VIEW_FOLDERS:
            // Tree commands that the menu bar offers whichever pane is active.
            return views_.tree != nullptr && views_.tree->QueryCommand(id, state);
        case ID_VIEW_PREVIEW:
            return preview_ != nullptr && preview_->QueryCommand(id, state);
        case ID_ENTRY_MISSING:
        case ID_EDIT_SELECT_ALL:
            return views_.list != nullptr && views_.list->QueryCommand(id, state);
        case ID_ENTRY_FIND_CONTENT:
        case ID_ENTRY_UNREADABLE:
        case ID_TOOLS_REINDEX:
            return content_ != nullptr && content_->QueryCommand(id, state);
        case ID_HELP:
        case ID_HELP_FINDER:
        case ID_DEFAULT_HELP:
        case ID_CONTEXT_HELP:
        case ID_NEXT_PANE:
        case ID_PREV_PANE:
        case ID_ENTRY_FIND:
            return true;
        default:
            return false;
    }
}

void MainWindow::RunCommand(int id) {
    switch (id) {
        case ID_VIEW_TOOLBAR:
            toolbar_->setHidden(!toolbar_->isHidden());
            break;
        case ID_VIEW_STATUS_BAR:
            statusBar()->setHidden(!statusBar()->isHidden());
            break;
        case ID_HOLDER_RELOCATE:
        case ID_VIEW_FOLDERS:
            views_.tree->RunCommand(id);
            break;
        case ID_VIEW_PREVIEW:
            preview_->RunCommand(id);
            break;
        case ID_ENTRY_MISSING:
        case ID_EDIT_SELECT_ALL:
            views_.list->RunCommand(id);
            break;
        case ID_ENTRY_FIND_CONTENT:
        case ID_ENTRY_UNREADABLE:
        case ID_TOOLS_REINDEX:
            content_->RunCommand(id);
            break;
        case ID_HELP:
        case ID_HELP_FINDER:
        case ID_DEFAULT_HELP:
            OpenHelp();
            break;
        case ID_CONTEXT_HELP:
            QWhatsThis::enterWhatsThisMode();
            break;
        case ID_NEXT_PANE:
        case ID_PREV_PANE:
            ActivateOtherPane();
            break;
        case ID_ENTRY_FIND:
            FocusFindField();
            break;
        default:
            break;
    }
}

void MainWindow::ActivateOtherPane() {
    CatalogueView* other = activeView_ == views_.list ? views_.tree : views_.list;
    SetActiveView(other);
    other->Widget()->setFocus(Qt::OtherFocusReason);
}

void MainWindow::OpenHelp() {
    const std::string url = HelpIndexUrl();
    if (!url.empty() && services_.shell.OpenUrl(url).ok()) return;
    AskUser(services_.messages, FormatString(IDS_HELP_FAILED, {url}));
}

void MainWindow::UpdateIndicators() {
    const std::optional<LockKeys> keys = ReadLockKeys();
    const std::array<bool, 3> on = {keys && keys->caps, keys && keys->num, keys && keys->scroll};
    const std::array<int, 3> ids = {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    for (size_t i = 0; i < indicators_.size(); ++i) {
        indicators_[i]->setText(on[i] ? ToQt(LoadString(ids[i])) : QString());
        indicators_[i]->setAccessibleDescription(
            ToQt(LoadString(on[i] ? IDS_LOCK_ON : IDS_LOCK_OFF)));
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == findField_ && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            findField_->clear();
            return true;
        }
        // From the field straight to what it found, as a search box leads to its results.
        if ((key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) && EnterList())
            return true;
    }
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        if (IsLockKey(static_cast<QKeyEvent*>(event)->key())) {
            QTimer::singleShot(0, this, [this] { UpdateIndicators(); });
        }
    } else if (type == QEvent::ApplicationActivate) {
        UpdateIndicators();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::EnterWhatsThisMode:
            statusBar()->showMessage(ToQt(LoadString(AFX_IDS_HELPMODEMESSAGE)));
            break;
        case QEvent::LeaveWhatsThisMode:
            statusBar()->clearMessage();
            break;
        case QEvent::WindowActivate:
            UpdateIndicators();
            break;
        default:
            break;
    }
    return QMainWindow::event(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths = LocalFiles(event->mimeData());
    if (paths.empty() || !dropHandler_) return;
    event->acceptProposedAction();
    // Opening may ask questions: let the drag end first.
    QTimer::singleShot(0, this, [this, paths = std::move(paths)] { dropHandler_(paths); });
}

}  // namespace kantoria
