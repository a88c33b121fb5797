// The document's place on the command route: Save, Save As, New, Refresh and the automatic
// search.
#pragma once

#include <functional>
#include <string>

#include "core/app/command_target.h"
#include "core/app/document_session.h"
#include "ui/app/app_services.h"

namespace kantoria {

class DocumentCommands final : public CommandTarget {
  public:
    // adoptPath makes a saved-as path the document's (caption, recent files).
    DocumentCommands(DocumentSession& session, AppServices& services,
                     std::function<void(const std::string&)> adoptPath);

    bool QueryCommand(int id, CommandState& state) override;
    void RunCommand(int id) override;

    // Saves to path, or to a path the user picks when path is empty; true when written.
    bool DoSave(const std::string& path);
    // Before the entries of an untitled catalogue are left (New, the end): asks whether to save
    // them; Yes saves under a name the user picks. True when the caller may go on.
    bool SaveUntitledIfWanted();

  private:
    void OnFileNew();
    bool KeepEntriesBeforeNew();
    void OnViewRefresh();
    void OnToolsSearch();
    std::string ProposedName() const;

    DocumentSession& session_;
    AppServices& services_;
    std::function<void(const std::string&)> adoptPath_;
};

// A route stop that takes no command, standing for a document that does not exist.
class NoCommands final : public CommandTarget {
  public:
    bool QueryCommand(int, CommandState&) override { return false; }
    void RunCommand(int) override {}
};

}  // namespace kantoria
