// The document's place on the command route: Save, Save As, New, Refresh, the automatic
// search, export to and import from a spreadsheet file, and undo and redo.
#pragma once

#include <functional>
#include <string>

#include "core/app/command_target.h"
#include "core/app/document_session.h"
#include "ui/seams/app_services.h"
#include "ui/undo/entry_history.h"

namespace kantoria {

class DocumentCommands final : public CommandTarget {
  public:
    // adoptPath makes a saved-as path the document's (caption, recent files).
    DocumentCommands(DocumentSession& session, AppServices& services, EntryHistory& history,
                     std::function<void(const std::string&)> adoptPath);

    bool QueryCommand(int id, CommandState& state) override;
    void RunCommand(int id) override;

    // Saves to path, or to a path the user picks when path is empty; true when written.
    bool DoSave(const std::string& path);
    // Why the catalogue is being left: the last question is worded for it.
    enum class Leaving { ForAnother, ForEnd };
    // Before the catalogue is left for another one, a new one or the end of the program: what
    // the file does not hold yet is written to it. Entries of an untitled catalogue are offered
    // a file; a write that fails names the file and the reason and lets the user go on without
    // it (or save them elsewhere), unless only the view state was to be written, which is
    // dropped without a word. True when the caller may go on.
    bool MayLeave(Leaving why);

  private:
    // Whose work the file keeps when another program changed it since it was read and this
    // window's changes are not in it yet.
    enum class Kept { Neither, Theirs, Ours };
    Kept AskWhoseWorkStays(bool leaving);
    bool SaveTo(const std::string& target, ChangedFile changed);
    void ReadAgain();
    bool SaveUntitledIfWanted();
    void OnFileNew();
    void OnViewRefresh();
    void OnToolsSearch();
    void OnFileExport();
    void OnFileImport();
    std::string ProposedName() const;

    DocumentSession& session_;
    AppServices& services_;
    EntryHistory& history_;
    std::function<void(const std::string&)> adoptPath_;
};

// A route stop that takes no command, standing for a document that does not exist.
class NoCommands final : public CommandTarget {
  public:
    bool QueryCommand(int, CommandState&) override { return false; }
    void RunCommand(int) override {}
};

}  // namespace kantoria
