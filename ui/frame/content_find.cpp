#include "ui/frame/content_find.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <unordered_map>

#include "core/app/command_target.h"
#include "core/content/live_index.h"
#include "core/ports/settings_store.h"
#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"
#include "core/text/find_fold.h"
#include "core/views/entry_list_logic.h"
#include "platform/qt/qt_text.h"
#include "ui/views/entry_list_view.h"

namespace kantoria {
namespace {

// Edits come in bursts (a paste, an automatic search): the index follows after a short quiet.
constexpr int kSettleMs = 700;

// 1234567 as 1,234,567.
std::string Grouped(std::size_t n) {
    const std::string digits = std::to_string(n);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

// The live index, its events brought to the window's thread.
struct ContentFind::Live {
    explicit Live(ContentFind& owner)
        : index(IndexOptions{},
                LiveIndexEvents{
                    [&owner](std::size_t done, std::size_t total) {
                        QMetaObject::invokeMethod(
                            &owner, [&owner, done, total] { owner.OnProgress(done, total); },
                            Qt::QueuedConnection);
                    },
                    [&owner](const IndexReport& report, const std::vector<FailedFile>& failed) {
                        std::unordered_map<std::string, std::string> unreadable;
                        for (const FailedFile& f : failed) unreadable.emplace(f.path, f.reason);
                        QMetaObject::invokeMethod(
                            &owner,
                            [&owner, ok = report.status.ok(), why = report.status.reason(),
                             unreadable = std::move(unreadable)]() mutable {
                                owner.OnUpdated(ok, why, std::move(unreadable));
                            },
                            Qt::QueuedConnection);
                    },
                    [&owner](std::shared_ptr<const DocumentWords> answer) {
                        QMetaObject::invokeMethod(
                            &owner, [&owner, answer] { owner.OnAnswer(answer); },
                            Qt::QueuedConnection);
                    },
                    [&owner](std::shared_ptr<const DocumentWords> filled) {
                        QMetaObject::invokeMethod(
                            &owner, [&owner, filled] { owner.OnSnippets(filled); },
                            Qt::QueuedConnection);
                    }}) {}
    LiveIndex index;
};

bool ContentFind::Available() {
    return true;
}

ContentFind::ContentFind(Catalogue& doc, SettingsStore& settings, QStatusBar& statusBar,
                         std::function<EntryListView*()> list, QObject* parent)
    : QObject(parent),
      doc_(doc),
      settings_(settings),
      statusBar_(statusBar),
      list_(std::move(list)),
      toggle_(new QAction(ToQt(LoadString(IDS_FIND_CONTENT_BUTTON)), this)),
      settle_(new QTimer(this)),
      progress_(new QLabel(&statusBar)),
      pause_(new QToolButton(&statusBar)) {
    toggle_->setObjectName(QStringLiteral("findContent"));
    toggle_->setCheckable(true);
    connect(toggle_, &QAction::triggered, this, [this](bool on) { SetEnabled(on); });
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(settle_, &QTimer::timeout, this, [this] { QueueUpdate(false); });
    progress_->setObjectName(QStringLiteral("indexProgress"));
    pause_->setObjectName(QStringLiteral("indexPause"));
    pause_->setAutoRaise(true);
    connect(pause_, &QToolButton::clicked, this, [this] { SetPaused(!Paused()); });
    statusBar_.addPermanentWidget(progress_);
    statusBar_.addPermanentWidget(pause_);
    progress_->hide();
    pause_->hide();
    if (EntryListView* view = list_())
        connect(view, &EntryListView::CommandStatesChanged, this, [this] { OnSelectionChanged(); });
    enabled_ = settings_.GetProfileInt(LoadString(IDS_SECTION_SETTINGS),
                                       LoadString(IDS_VALUE_FINDCONTENT), 0) != 0;
    ApplyToggleText();
}

// The live index is left to end by itself: nothing here waits for it.
ContentFind::~ContentFind() = default;

void ContentFind::SetEnabled(bool enabled) {
    enabled_ = enabled;
    settings_.WriteProfileInt(LoadString(IDS_SECTION_SETTINGS), LoadString(IDS_VALUE_FINDCONTENT),
                              enabled ? 1 : 0);
    ApplyToggleText();
    if (enabled) {
        Start();
        Find(findText_);
    } else {
        live_.reset();
        ShowProgress();
        if (EntryListView* list = list_()) {
            list->RowSource().SetDocumentWords(nullptr, false);
            list->RefreshList();
        }
    }
}

void ContentFind::ApplyToggleText() {
    toggle_->setChecked(enabled_);
    // An unsaved catalogue has no index yet: the toggle says why it finds nothing in the text.
    const bool untitled = catalogue_.empty();
    toggle_->setToolTip(
        ToQt(LoadString(untitled && enabled_ ? IDS_CONTENT_UNTITLED : IDS_FIND_CONTENT_BUTTON)));
    toggle_->setStatusTip(untitled && enabled_ ? ToQt(LoadString(IDS_CONTENT_UNTITLED))
                                               : QString());
}

void ContentFind::Start() {
    if (!enabled_ || catalogue_.empty() || live_) return;
    live_ = std::make_unique<Live>(*this);
    live_->index.SetCatalogue(catalogue_);
    QueueUpdate(false);
}

void ContentFind::CatalogueAt(const std::string& path) {
    const std::string system = path.empty() ? std::string() : ToSystemName(path);
    // The same entries under a new name: saved under another name, so the index goes along.
    const bool renamed = !catalogue_.empty() && !system.empty() && system != catalogue_ &&
                         generation_ == doc_.Entries().Generation();
    const std::string before = std::exchange(catalogue_, system);
    generation_ = doc_.Entries().Generation();
    pathsRevision_ = doc_.Entries().PathsRevision();
    ApplyToggleText();
    if (catalogue_.empty()) {
        live_.reset();
        ShowProgress();
        return;
    }
    if (!live_) return Start();
    if (before == catalogue_) return;
    live_->index.SetCatalogue(catalogue_, renamed ? before : std::string());
    QueueUpdate(false);
}

void ContentFind::CatalogueUpdated() {
    if (doc_.Entries().Generation() == generation_ &&
        doc_.Entries().PathsRevision() == pathsRevision_)
        return;
    generation_ = doc_.Entries().Generation();
    pathsRevision_ = doc_.Entries().PathsRevision();
    if (live_) settle_->start();
}

void ContentFind::QueueUpdate(bool rebuild) {
    if (!live_) return;
    std::vector<std::string> documents;
    documents.reserve(doc_.Entries().size());
    for (const Entry& entry : doc_.Entries())
        documents.push_back(DocumentPath(entry.Path(), doc_.FileEncoding()));
    done_ = 0;
    total_ = documents.size();
    if (rebuild)
        live_->index.Rebuild(std::move(documents));
    else
        live_->index.Update(std::move(documents));
    ShowProgress();
}

void ContentFind::Find(const std::string& text) {
    findText_ = text;
    if (live_ && !FindWords(text).empty()) live_->index.Ask(text);
}

void ContentFind::OnAnswer(std::shared_ptr<const DocumentWords> answer) {
    EntryListView* list = list_();
    if (!live_ || list == nullptr || answer->findText != findText_) return;  // a late answer
    const ListContent& shown = list->Content();
    if (shown.kind != ListContent::Kind::Find || shown.findText != answer->findText) return;
    list->RowSource().SetDocumentWords(std::move(answer), Indexing());
    list->RefreshList();
    OnSelectionChanged();
    emit AnswerShown();
}

void ContentFind::OnSnippets(std::shared_ptr<const DocumentWords> filled) {
    EntryListView* list = list_();
    if (!live_ || list == nullptr || filled->findText != findText_) return;
    list->RowSource().FillSnippets(std::move(filled));
    OnSelectionChanged();
    emit SnippetsShown();
}

void ContentFind::OnProgress(std::size_t done, std::size_t total) {
    done_ = done;
    total_ = total;
    ShowProgress();
}

void ContentFind::OnUpdated(bool ok, const std::string& why,
                            std::unordered_map<std::string, std::string> unreadable) {
    if (!live_) return;
    ShowProgress();
    if (!ok) statusBar_.showMessage(ToQt(FormatString(IDS_INDEX_FAILED, {why})), 15000);
    if (EntryListView* list = list_()) {
        list->RowSource().SetUnreadable(std::move(unreadable));
        if (list->Content().kind == ListContent::Kind::Unreadable) list->RefreshList();
    }
    // What the list found while the index was built is asked again of the whole index.
    Find(findText_);
    emit IndexUpdated();
}

void ContentFind::ShowProgress() {
    const bool shown = live_ && live_->index.Updating();
    progress_->setVisible(shown);
    pause_->setVisible(shown);
    if (!shown) return;
    const bool paused = live_->index.Paused();
    progress_->setText(ToQt(FormatString(paused ? IDS_INDEX_PAUSED : IDS_INDEX_PROGRESS,
                                         {Grouped(done_), Grouped(total_)})));
    pause_->setText(ToQt(LoadString(paused ? IDS_INDEX_RESUME : IDS_INDEX_PAUSE)));
}

bool ContentFind::Indexing() const {
    return live_ && live_->index.Updating();
}

bool ContentFind::Paused() const {
    return live_ && live_->index.Paused();
}

void ContentFind::SetPaused(bool paused) {
    if (!live_) return;
    live_->index.SetPaused(paused);
    ShowProgress();
}

void ContentFind::OnSelectionChanged() {
    const EntryListView* list = list_();
    const EntryRef entry = list == nullptr ? nullptr : list->GetSelectedEntry();
    const std::string* snippet = entry == nullptr ? nullptr : list->entryModel()->SnippetOf(entry);
    // An empty snippet is one still on its way.
    const bool shown = snippet != nullptr && !snippet->empty();
    if (shown)
        statusBar_.showMessage(ToQt(*snippet));
    else if (snippetShown_)
        statusBar_.clearMessage();
    snippetShown_ = shown;
}

void ContentFind::ShowUnreadable() {
    EntryListView* list = list_();
    if (list == nullptr) return;
    list->Show({ListContent::Kind::Unreadable, {}});
    doc_.UpdateAllViews(nullptr);
}

bool ContentFind::QueryCommand(int id, CommandState& state) const {
    switch (id) {
        case ID_ENTRY_FIND_CONTENT:
            state.checked = enabled_;
            return true;
        case ID_TOOLS_REINDEX:
        case ID_ENTRY_UNREADABLE:
            state.enabled = live_ != nullptr;
            return true;
        default:
            return false;
    }
}

void ContentFind::RunCommand(int id) {
    switch (id) {
        case ID_ENTRY_FIND_CONTENT:
            SetEnabled(!enabled_);
            break;
        case ID_TOOLS_REINDEX:
            if (live_ && live_->index.Paused()) live_->index.SetPaused(false);
            QueueUpdate(true);
            break;
        case ID_ENTRY_UNREADABLE:
            ShowUnreadable();
            break;
        default:
            break;
    }
}

}  // namespace kantoria
