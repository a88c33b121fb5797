// Built where the content search's libraries are missing: the toggle stays off and disabled,
// and the find reads titles, comments and paths only.
#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "core/app/command_target.h"
#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"
#include "ui/frame/content_find.h"

namespace kantoria {

struct ContentFind::Live {};

bool ContentFind::Available() {
    return false;
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
    toggle_->setEnabled(false);
    progress_->hide();
    pause_->hide();
}

ContentFind::~ContentFind() = default;

void ContentFind::SetEnabled(bool) {}
void ContentFind::CatalogueAt(const std::string&) {}
void ContentFind::CatalogueUpdated() {}
void ContentFind::Find(const std::string&) {}
bool ContentFind::Indexing() const {
    return false;
}
bool ContentFind::Paused() const {
    return false;
}
void ContentFind::SetPaused(bool) {}

bool ContentFind::QueryCommand(int id, CommandState& state) const {
    if (id != ID_ENTRY_FIND_CONTENT && id != ID_TOOLS_REINDEX && id != ID_ENTRY_UNREADABLE)
        return false;
    state.enabled = false;
    if (id == ID_ENTRY_FIND_CONTENT) state.checked = false;
    return true;
}

void ContentFind::RunCommand(int) {}

// Declared for the full build's events; nothing calls them here.
void ContentFind::Start() {}
void ContentFind::QueueUpdate(bool) {}
void ContentFind::OnProgress(std::size_t, std::size_t) {}
void ContentFind::OnUpdated(bool, const std::string&,
                            std::unordered_map<std::string, std::string>) {}
void ContentFind::OnAnswer(std::shared_ptr<const DocumentWords>) {}
void ContentFind::ShowProgress() {}
void ContentFind::ShowUnreadable() {}
void ContentFind::OnSelectionChanged() {}
void ContentFind::ApplyToggleText() {}

}  // namespace kantoria
