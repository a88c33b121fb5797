#include "ui/views/entry_list_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <utility>

#include "core/ports/settings_store.h"
#include "core/resources/menu_resources.h"
#include "core/resources/string_table.h"
#include "core/text/text_codec.h"
#include "core/views/entry_find.h"
#include "core/views/entry_list_logic.h"
#include "core/views/shown_holder.h"
#include "platform/qt/qt_text.h"
#include "ui/dialogs/dialog_entry_editor.h"
#include "ui/dialogs/program_icon.h"
#include "ui/seams/message_box.h"

namespace kantoria {
namespace {

// Every item of the icon and list modes takes one cell of the same size, so laying out a
// holder of many entries costs no text measuring; long titles are elided.
class CellDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void SetCellSize(QSize size) { cell_ = size; }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return cell_.isValid() ? cell_ : QStyledItemDelegate::sizeHint(option, index);
    }

  private:
    QSize cell_;
};

constexpr int kLargeCellWidth = 96;
constexpr int kSmallCellWidth = 180;
constexpr int kListCellWidth = 200;

void SetUpItemView(QAbstractItemView* view) {
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
}

// Menu 137's single popup.
QMenu* CreateEntryMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    for (const MenuItem& item : LoadMenu(IDR_ENTRY_CONTEXT_MENU).front().items) {
        if (item.kind == MenuItem::Kind::Separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(
            QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size())));
        action->setData(item.id);
    }
    return menu;
}

}  // namespace

EntryListView::EntryListView(Catalogue& doc, const EntryListServices& services, QWidget* parent)
    : QWidget(parent),
      doc_(doc),
      services_(services),
      editor_(std::make_unique<DialogEntryEditor>(services.dialogs, services.messages,
                                                  SystemProgramIconLookup(services.icons.types))),
      route_([this](int id) { RunCommand(id); }),
      viewType_(ReadViewType(services.settings)),
      model_(new EntryListModel(this)),
      stack_(new QStackedLayout(this)),
      iconView_(new QListView(this)),
      reportView_(new QTreeView(this)),
      menu_(CreateEntryMenu(this)),
      tracker_(std::make_unique<PresenceChecker>(MakeSystemPathProbe())),
      answers_(new QTimer(this)),
      walk_(new QTimer(this)) {
    model_->SetPresence(&tracker_.Known());
    model_->SetFoundInText(&rows_.FoundInTextRows());
    answers_->setInterval(100);
    connect(answers_, &QTimer::timeout, this, &EntryListView::TakeFileAnswers);
    walk_->setSingleShot(true);
    walk_->setInterval(0);
    connect(walk_, &QTimer::timeout, this, &EntryListView::AskNextFiles);
    iconView_->setItemDelegate(new CellDelegate(iconView_));
    iconView_->setModel(model_);
    iconView_->setUniformItemSizes(true);
    SetUpItemView(iconView_);

    reportView_->setModel(model_);
    selection_ = iconView_->selectionModel();
    reportView_->setSelectionModel(selection_);
    reportView_->setRootIsDecorated(false);
    reportView_->setItemsExpandable(false);
    reportView_->setUniformRowHeights(true);
    reportView_->setSortingEnabled(false);
    reportView_->header()->setSectionsMovable(false);
    reportView_->header()->setStretchLastSection(false);
    reportView_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    reportView_->header()->setSectionsClickable(true);
    connect(reportView_->header(), &QHeaderView::sectionClicked, this,
            &EntryListView::OnHeaderClicked);
    SetUpItemView(reportView_);

    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->addWidget(iconView_);
    stack_->addWidget(reportView_);

    model_->SetRenameHandler([this](int row, const std::string& text) { OnRename(row, text); });
    connect(selection_, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnItemChanged(current); });
    connect(selection_, &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                // The selected title is the current item's; clearing the selection keeps it.
                if (!selected.isEmpty()) OnItemChanged(selection_->currentIndex());
                emit CommandStatesChanged();
            });
    for (QAction* action : menu_->actions())
        if (!action->isSeparator())
            connect(action, &QAction::triggered, this,
                    [this, id = action->data().toInt()] { route_(id); });
    WatchInput(iconView_);
    WatchInput(reportView_);
    const QString name = ToQt(LoadString(IDS_NAME_ENTRY_LIST));
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(iconView_),
                            static_cast<QWidget*>(reportView_)})
        widget->setAccessibleName(name);
    doc_.AddObserver(this);
    ApplyViewType();
}

EntryListView::~EntryListView() {
    doc_.RemoveObserver(this);
    WriteViewType(services_.settings, viewType_);
}

void EntryListView::OnUpdate(CatalogueObserver*) {
    RefreshList();
}

void EntryListView::Show(ListContent content) {
    content_ = std::move(content);
    contentGeneration_ = doc_.Entries().Generation();
}

const ListContent& EntryListView::Content() const {
    static const ListContent holder;
    return contentGeneration_ == doc_.Entries().Generation() ? content_ : holder;
}

void EntryListView::SetIconLookup(EntryIconLookup lookup) {
    model_->SetIconLookup(std::move(lookup));
}

void EntryListView::OnViewLargeIcon() {
    SetViewType(ViewType::LargeIcon);
}
void EntryListView::OnViewSmallIcon() {
    SetViewType(ViewType::SmallIcon);
}
void EntryListView::OnViewList() {
    SetViewType(ViewType::List);
}
void EntryListView::OnViewDetails() {
    SetViewType(ViewType::Report);
}

void EntryListView::SetViewType(ViewType type) {
    viewType_ = type;
    RefreshList();
}

QAbstractItemView* EntryListView::currentView() const {
    if (viewType_ == ViewType::Report) return reportView_;
    return iconView_;
}

void EntryListView::ApplyViewType() {
    const bool report = viewType_ == ViewType::Report;
    stack_->setCurrentWidget(currentView());
    setFocusProxy(currentView());
    model_->SetLargeIcons(viewType_ == ViewType::LargeIcon);
    if (report) return;

    auto* delegate = static_cast<CellDelegate*>(iconView_->itemDelegate());
    const int line = iconView_->fontMetrics().height();
    if (viewType_ == ViewType::LargeIcon) {
        iconView_->setViewMode(QListView::IconMode);
        iconView_->setIconSize(QSize(32, 32));
        iconView_->setWordWrap(true);
        delegate->SetCellSize(QSize(kLargeCellWidth, 32 + 2 * line + 8));
        iconView_->setGridSize(QSize(kLargeCellWidth + 8, 32 + 2 * line + 16));
    } else {
        iconView_->setViewMode(QListView::ListMode);
        iconView_->setIconSize(QSize(16, 16));
        iconView_->setWordWrap(false);
        iconView_->setGridSize(QSize());
        const int width = viewType_ == ViewType::SmallIcon ? kSmallCellWidth : kListCellWidth;
        delegate->SetCellSize(QSize(width, std::max(line, 16) + 4));
    }
    // Small icons fill rows from left to right, the list fills columns from top to bottom.
    iconView_->setFlow(viewType_ == ViewType::List ? QListView::TopToBottom
                                                   : QListView::LeftToRight);
    iconView_->setWrapping(true);
    iconView_->setResizeMode(QListView::Adjust);
    iconView_->setMovement(QListView::Static);
    iconView_->setTextElideMode(Qt::ElideRight);
}

void EntryListView::RefreshList() {
    Refill();
    CheckFiles();
}

void EntryListView::Refill() {
    refilling_ = true;
    ApplyViewType();
    // Another catalogue (or the same one read again) starts in title order.
    if (sortGeneration_ != doc_.Entries().Generation()) {
        sortGeneration_ = doc_.Entries().Generation();
        sortKey_.reset();
    }
    std::vector<EntryRef> rows = rows_.Rows(
        doc_, Content(), [this](const Entry& entry) { return tracker_.Missing(entry.Path()); });
    if (sortKey_) SortEntries(rows, *sortKey_);
    model_->Reset(std::move(rows), doc_.FileEncoding());
    QHeaderView* header = reportView_->header();
    header->setSortIndicatorShown(sortKey_.has_value());
    if (sortKey_)
        header->setSortIndicator(static_cast<int>(sortKey_->column),
                                 sortKey_->descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    if (viewType_ == ViewType::Report) {
        // The stored widths, whatever the user dragged since the last refresh.
        header->resizeSection(EntryListModel::kTitleColumn, doc_.TitleWidth());
        header->resizeSection(EntryListModel::kCommentColumn, doc_.CommentWidth());
        header->resizeSection(EntryListModel::kPathColumn, doc_.PathWidth());
    }
    RestoreSelection();
    refilling_ = false;
    emit StatusTextChanged(ToQt(
        rows_.Status(Content(), static_cast<std::size_t>(model_->rowCount()), CheckingFiles())));
}

bool EntryListView::ShowingMissing() const {
    return Content().kind == ListContent::Kind::Missing;
}

void EntryListView::OnEntryMissing() {
    Show({ListContent::Kind::Missing, {}});
    doc_.UpdateAllViews(nullptr);
}

void EntryListView::SetPathProbe(std::shared_ptr<PathProbe> probe, PresenceCheckLimits limits) {
    tracker_.Replace(std::make_unique<PresenceChecker>(std::move(probe), limits));
    model_->PresenceChanged();
    CheckFiles();
}

bool EntryListView::CheckingFiles() const {
    return answers_->isActive() || tracker_.Walking();
}

std::optional<std::string> EntryListView::ShownHolderFolder() {
    if (!Content().ShowsHolder()) return std::nullopt;
    const HolderTree& tree = rows_.Trees().TreeOf(doc_.Holders(), doc_.HoldersRevision());
    const int node = ShownHolder(tree, doc_);
    if (node == kNoHolderNode) return std::nullopt;
    return tree.node(node).folder;
}

void EntryListView::CheckFiles() {
    Follow(tracker_.Check(doc_.Entries(), model_->Entries(), ShownHolderFolder(),
                          doc_.FileEncoding()));
}

void EntryListView::Follow(PresenceWork work) {
    if (work.walkOn) walk_->start();
    if (work.collect) answers_->start();
}

void EntryListView::AskNextFiles() {
    const PresenceWork work = tracker_.AskNext(doc_.Entries(), doc_.FileEncoding());
    if (work.restart)
        CheckFiles();
    else
        Follow(work);
}

void EntryListView::TakeFileAnswers() {
    const PresenceAnswers taken = tracker_.TakeAnswers();
    if (taken.changed) model_->PresenceChanged();
    if (!taken.busy && !tracker_.Walking()) answers_->stop();
    // The missing list follows the answers as they come, and says when the looking is done.
    if (ShowingMissing() && (taken.changed || !taken.busy)) Refill();
}

void EntryListView::RestoreSelection() {
    const int row = RowToSelect(model_->Entries(), doc_.SelectedTitle());
    if (row < 0) {
        selection_->clear();
        return;
    }
    const QModelIndex index = model_->index(row, EntryListModel::kTitleColumn);
    selection_->setCurrentIndex(index,
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    currentView()->scrollTo(index);
}

EntryRef EntryListView::GetSelectedEntry() const {
    const QModelIndex current = selection_->currentIndex();
    if (current.isValid() && selection_->isSelected(current.siblingAtColumn(0)))
        return model_->EntryAt(current.row());
    const std::vector<EntryRef> selected = GetSelectedEntries();
    return selected.empty() ? nullptr : selected.front();
}

std::vector<EntryRef> EntryListView::GetSelectedEntries() const {
    // Walks the ranges rather than the indexes: selecting all of a large holder is one range.
    std::vector<char> picked(static_cast<std::size_t>(model_->rowCount()), 0);
    for (const QItemSelectionRange& range : selection_->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            picked[static_cast<std::size_t>(row)] = 1;
    std::vector<EntryRef> entries;
    for (std::size_t row = 0; row < picked.size(); ++row)
        if (picked[row]) entries.push_back(model_->EntryAt(static_cast<int>(row)));
    return entries;
}

void EntryListView::OnHeaderClicked(int section) {
    const auto column = static_cast<EntrySortKey::Column>(section);
    // A second click on the same heading turns the order round.
    if (sortKey_ && sortKey_->column == column)
        sortKey_->descending = !sortKey_->descending;
    else
        sortKey_ = EntrySortKey{column, false};
    sortGeneration_ = doc_.Entries().Generation();
    Refill();
}

void EntryListView::OnItemChanged(const QModelIndex& index) {
    // Only an entry the user selected is the catalogue's selected one: the current item a view
    // makes by itself (the first row, as the list takes the focus) selects nothing.
    if (refilling_ || !index.isValid() || !selection_->isSelected(index)) return;
    doc_.SetSelectedTitle(model_->TitleAt(index.row()));
}

void EntryListView::OnRename(int row, const std::string& text) {
    RenameOutcome outcome = RenameOutcome::Unchanged;
    RecordStep(history_, StepKind::Rename, [&] {
        outcome = RenameEntry(doc_, model_->EntryAt(row), model_->TitleAt(row), text);
        return outcome == RenameOutcome::Renamed;
    });
    switch (outcome) {
        case RenameOutcome::Renamed:
            // The editor is still being committed; rebuild once it has closed.
            QMetaObject::invokeMethod(this, &EntryListView::RefreshList, Qt::QueuedConnection);
            break;
        case RenameOutcome::Refused:
            AskUser(services_.messages, LoadString(IDS_TITLE_NOT_STORABLE));
            break;
        case RenameOutcome::Unchanged:
            break;
    }
}

}  // namespace kantoria
