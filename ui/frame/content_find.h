// The find field reading the documents too: the toggle (remembered), the live index of the
// open catalogue kept up to date in the background as its entries change, the answers merged
// into the list's find as they come, the progress with a pause in the status bar, and the list
// of documents whose text could not be read. Nothing of it waits on the index: a keystroke
// shows the catalogue's own find at once and the documents' hits join when they are known.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "core/catalogue/catalogue.h"

class QAction;
class QLabel;
class QStatusBar;
class QTimer;
class QToolButton;

namespace kantoria {

class EntryListView;
class SettingsStore;
struct CommandState;
struct DocumentWords;

class ContentFind final : public QObject {
    Q_OBJECT

  public:
    // doc, settings and statusBar must outlive this; list answers the entry list or null.
    ContentFind(Catalogue& doc, SettingsStore& settings, QStatusBar& statusBar,
                std::function<EntryListView*()> list, QObject* parent);
    ~ContentFind() override;

    // Whether the content search was built into this program.
    static bool Available();
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // The checkable button beside the find field, which is the menu's toggle too.
    QAction* Toggle() const { return toggle_; }

    // After the catalogue was opened, created or saved under a name (system path; empty
    // while untitled).
    void CatalogueAt(const std::string& path);
    // After every change of the catalogue: changed documents are read again shortly after.
    void CatalogueUpdated();
    // The find field asks the documents for text (empty: no find).
    void Find(const std::string& text);

    bool QueryCommand(int id, CommandState& state) const;
    void RunCommand(int id);

    // Whether the index is being brought up to date (or waits to be, paused).
    bool Indexing() const;
    bool Paused() const;
    void SetPaused(bool paused);

  signals:
    // An answer of the documents was merged into the list (tests wait for it).
    void AnswerShown();
    // The snippets an answer came without were given to its rows.
    void SnippetsShown();
    // An update of the index ended.
    void IndexUpdated();

  private:
    struct Live;
    void Start();
    void QueueUpdate(bool rebuild);
    void OnProgress(std::size_t done, std::size_t total);
    void OnUpdated(bool ok, const std::string& why,
                   std::unordered_map<std::string, std::string> unreadable);
    void OnAnswer(std::shared_ptr<const DocumentWords> answer);
    void OnSnippets(std::shared_ptr<const DocumentWords> filled);
    void ShowProgress();
    void ShowUnreadable();
    void OnSelectionChanged();
    void ApplyToggleText();

    Catalogue& doc_;
    SettingsStore& settings_;
    QStatusBar& statusBar_;
    std::function<EntryListView*()> list_;
    std::unique_ptr<Live> live_;  // while enabled and the catalogue has a name
    bool enabled_ = false;
    std::string catalogue_;  // system path; empty while untitled
    std::string findText_;
    std::uint64_t pathsRevision_ = ~std::uint64_t{0};
    std::uint64_t generation_ = ~std::uint64_t{0};
    std::size_t done_ = 0, total_ = 0;
    bool snippetShown_ = false;  // the status bar shows the selected row's snippet
    QAction* toggle_;            // children of this object and of the status bar
    QTimer* settle_;             // changes are taken together after a short quiet
    QLabel* progress_;
    QToolButton* pause_;
};

}  // namespace kantoria
