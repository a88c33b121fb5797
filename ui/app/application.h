// The application object: start-up in its fixed order, the one document and its main frame,
// the open path every file takes (File > Open, a recent file, a dropped file, another start),
// and the commands that belong to the program as a whole.
#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/app/document_session.h"
#include "core/app/recent_files.h"
#include "core/ports/instance_directory.h"
#include "ui/app/document_commands.h"
#include "ui/frame/catalogue_view.h"
#include "ui/frame/main_window.h"
#include "ui/seams/app_services.h"
#include "ui/undo/entry_history.h"

namespace kantoria {

class Application final : public CommandTarget, public InstanceHost {
  public:
    Application(AppServices& services, ViewFactory views);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up. False when the program is to end at once; ExitCode() then says how.
    bool InitInstance(const std::vector<std::string>& arguments);
    // The frame goes first, the document last.
    void ExitInstance();
    int ExitCode() const { return exitCode_; }

    // Opens path as the framework does: a path that is already the document's only brings the
    // window forward; the first open creates the document and frame and removes them again if
    // it fails.
    bool OpenDocumentFile(const std::string& path);
    // Creates the untitled document and its frame.
    bool NewDocument();
    // True when no running instance holds the catalogue at path; otherwise that instance's
    // window is restored and the answer is false.
    bool IsSingleInstanceFree(const std::string& path);

    MainWindow* MainFrame() const { return frame_.get(); }
    DocumentSession* Document() const { return doc_.get(); }
    const RecentFileList& Recent() const { return recent_; }

    bool QueryCommand(int id, CommandState& state) override;
    void RunCommand(int id) override;

    std::vector<std::string> WindowCaptions() override;
    void RestoreMainWindow() override;
    void OpenFromShell(const std::string& path) override;

  private:
    bool CreateDocumentAndFrame();
    void DestroyDocumentAndFrame();
    void RegisterFile(const std::string& path);
    bool OpenFailed(const std::string& path, const std::string& reason, bool created);
    void AdoptPath(const std::string& path);
    bool HandOverToRunningInstance(const std::string& path);
    void OnAppAbout();
    void OnFileOpen();
    void OnOpenRecentFile(size_t index);
    void OpenDroppedFiles(const std::vector<std::string>& paths);
    bool SaveBeforeEnd();
    void ShowAsRead();

    AppServices& services_;
    ViewFactory views_;
    RecentFileList recent_;
    std::unique_ptr<DocumentSession> doc_;
    std::unique_ptr<EntryHistory> history_;  // the open catalogue's undo and redo
    std::unique_ptr<DocumentCommands> docCommands_;
    NoCommands noDocument_;
    std::unique_ptr<MainWindow> frame_;
    QObject timers_;  // context of deferred work; dies with the application object
    int exitCode_ = 0;
};

// The file named on the command line: the first argument that is not an option.
std::optional<std::string> FileArgument(const std::vector<std::string>& arguments);

}  // namespace kantoria
