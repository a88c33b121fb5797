// Scripted stand-ins for everything the application reaches outside itself, and a harness
// that builds the application object over them.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/os/environment.h"
#include "core/resources/string_table.h"
#include "testing/core/desktop_shell_memory.h"
#include "testing/core/file_types_memory.h"
#include "testing/core/settings_memory.h"
#include "testing/core/stand_in_icons.h"
#include "testing/ui/scripted_file_dialogs.h"
#include "testing/ui/scripted_message_boxes.h"
#include "ui/app/application.h"
#include "ui/frame/frame_views.h"
#include "ui/seams/app_services.h"

namespace kantoria::test {

using kantoria::ScriptedFileDialogs;

// What happened, in order, across all fakes.
using EventLog = std::vector<std::string>;

class ScriptedDialogRunner final : public DialogRunner {
  public:
    std::vector<QString> captions;
    std::function<void(QDialog&)> inspect;
    int DoModal(QDialog& dialog) override {
        captions.push_back(dialog.windowTitle());
        // The dialog ends as the test left it: Rejected unless the test pressed its OK.
        if (inspect) inspect(dialog);
        return dialog.result() == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected;
    }
};

class FakeInstances final : public InstanceDirectory {
  public:
    explicit FakeInstances(EventLog& log) : log_(log) {}
    std::vector<RunningInstance> running;
    std::vector<std::string> restored;
    std::vector<std::pair<std::string, std::string>> handedOver;
    InstanceHost* published = nullptr;

    std::vector<RunningInstance> Others() override {
        log_.push_back("find instances");
        return running;
    }
    bool Restore(const RunningInstance& instance) override {
        restored.push_back(instance.address);
        return true;
    }
    bool HandOver(const RunningInstance& instance, const std::string& path) override {
        handedOver.emplace_back(instance.address, path);
        return true;
    }
    bool Publish(InstanceHost& host) override {
        log_.push_back("publish");
        published = &host;
        return true;
    }

  private:
    EventLog& log_;
};

class CountingRegistrar final : public FileTypeRegistrar {
  public:
    explicit CountingRegistrar(EventLog& log) : log_(log) {}
    void RegisterShellFileTypes() override { log_.push_back("register file type"); }

  private:
    EventLog& log_;
};

class NoEnvironment final : public Environment {
  public:
    std::optional<std::string> Get(std::string_view) const override { return std::nullopt; }
};

// The application over fakes, with a folder of its own for catalogue files.
struct AppHarness {
    EventLog log;
    MemorySettingsStore settings;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs files;
    ScriptedDialogRunner dialogs;
    RecordingDesktopShell shell;
    FakeInstances instances{log};
    CountingRegistrar registrar{log};
    MemoryFileTypes types;
    StandInIconFactory icons;
    NoEnvironment environment;
    AppServices services{settings, messages,  files,     dialogs,
                         shell,    instances, registrar, IconServices{types, icons, environment}};
    QTemporaryDir folder;
    std::unique_ptr<Application> app;

    explicit AppHarness(ViewFactory views = MakeFrameViews)
        : app(std::make_unique<Application>(services, std::move(views))) {}

    // A copy of the sample catalogue under name.
    std::string CataloguePath(const QString& name = QStringLiteral("MORKA.ZNL")) {
        const QString path = folder.filePath(name);
        QFile::remove(path);
        QFile::copy(QStringLiteral(KANTORIA_EXAMPLES "/MORKA.ZNL"), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path.toStdString();
    }
    std::string Missing() const {
        return folder.filePath(QStringLiteral("gone.ZNL")).toStdString();
    }

    std::string Stored(int id) {
        return settings.GetProfileString(LoadString(IDS_SECTION_SETTINGS), LoadString(id),
                                         "<none>");
    }
    void StorePath(const std::string& path) {
        settings.WriteProfileString(LoadString(IDS_SECTION_SETTINGS), LoadString(IDS_VALUE_ZNLPATH),
                                    path);
    }
    // The main window's caption as the desktop shows it, the mark of unsaved changes included.
    std::string ShownCaption() const {
        MainWindow* frame = app->MainFrame();
        if (frame == nullptr) return "<none>";
        frame->winId();  // the desktop's window, which carries the caption as shown
        return frame->windowHandle()->title().toStdString();
    }
    // Ends the program as closing its window does.
    void End() { app->ExitInstance(); }
};

}  // namespace kantoria::test
