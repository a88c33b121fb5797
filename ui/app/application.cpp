#include "ui/app/application.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include "core/app/entry_editing.h"
#include "core/app/instance_match.h"
#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"
#include "ui/app/encoding_notice.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/dialog_entry_editor.h"
#include "ui/dialogs/program_icon.h"

namespace kantoria {
namespace {

constexpr int kRetryWhileModalMs = 200;

std::string AbsolutePath(const std::string& path) {
    return PathFromQt(QFileInfo(ToQt(path)).absoluteFilePath());
}

bool SamePath(const std::string& a, const std::string& b) {
    if (a == b) return true;
    const QFileInfo first(ToQt(a));
    const QFileInfo second(ToQt(b));
    return first.exists() && second.exists() && first == second;
}

}  // namespace

std::optional<std::string> FileArgument(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (!argument.empty() && argument[0] != '-') return argument;
    }
    return std::nullopt;
}

Application::Application(AppServices& services, ViewFactory views)
    : services_(services), views_(std::move(views)) {}

Application::~Application() {
    ExitInstance();
}

bool Application::InitInstance(const std::vector<std::string>& arguments) {
    SettingsStore& settings = services_.settings;
    const std::string storedPath = settings.GetProfileString(LoadString(IDS_SECTION_SETTINGS),
                                                             LoadString(IDS_VALUE_ZNLPATH), "");

    std::optional<std::string> argument = FileArgument(arguments);
    if (argument) argument = AbsolutePath(*argument);
    // A file named while another instance runs is that instance's to open, as when the
    // desktop hands it a document.
    if (argument && HandOverToRunningInstance(*argument)) return false;
    // A catalogue named on the command line (a double-click in the file manager) is the one
    // opened; the catalogue used last only when none is named. Any other file named joins the
    // catalogue opened, as it would join the one a running instance shows.
    const bool namesCatalogue = argument && IsCatalogueFile(*argument);
    const std::string request = namesCatalogue ? *argument : storedPath;
    if (!request.empty() && !IsSingleInstanceFree(request)) return false;

    recent_.ReadList(settings);
    services_.instances.Publish(*this);
    services_.registrar.RegisterShellFileTypes();

    // A catalogue that cannot be opened has been reported; the user goes on with a new one
    // rather than facing a program that ends.
    const bool started = (!request.empty() && OpenDocumentFile(request)) || NewDocument();
    if (!started) {
        exitCode_ = 1;
        return false;
    }
    if (argument && !namesCatalogue) OpenDocumentFile(*argument);
    frame_->ShowAtSavedPlace();
    return true;
}

void Application::ExitInstance() {
    DestroyDocumentAndFrame();
}

bool Application::IsSingleInstanceFree(const std::string& path) {
    std::vector<RunningInstance> others = services_.instances.Others();
    std::vector<std::vector<std::string>> captions;
    for (const RunningInstance& other : others) captions.push_back(other.captions);
    const std::optional<size_t> holder = FindInstanceHolding(path, captions);
    if (!holder) return true;
    services_.instances.Restore(others[*holder]);
    return false;
}

bool Application::HandOverToRunningInstance(const std::string& path) {
    std::vector<RunningInstance> others = services_.instances.Others();
    if (others.empty()) return false;
    const std::string storedPath = services_.settings.GetProfileString(
        LoadString(IDS_SECTION_SETTINGS), LoadString(IDS_VALUE_ZNLPATH), "");
    std::vector<std::vector<std::string>> captions;
    for (const RunningInstance& other : others) captions.push_back(other.captions);
    // Prefer the instance that holds the remembered catalogue.
    const size_t target = FindInstanceHolding(storedPath, captions).value_or(0);
    return services_.instances.HandOver(others[target], path);
}

bool Application::CreateDocumentAndFrame() {
    doc_ = std::make_unique<DocumentSession>(services_.settings, services_.icons);
    AskBeforeEncodingSwitch(services_.messages, doc_->Doc());
    history_ = std::make_unique<EntryHistory>(doc_->Doc(), [this] {
        doc_->RebuildHoldersAndIcons();
        doc_->Doc().UpdateAllViews(nullptr);
    });
    docCommands_ = std::make_unique<DocumentCommands>(
        *doc_, services_, *history_, [this](const std::string& path) { AdoptPath(path); });
    frame_ = std::make_unique<MainWindow>(services_, doc_->Doc(), history_.get(),
                                          MainWindow::Route{*docCommands_, *this}, views_);
    if (!frame_->Created()) {
        DestroyDocumentAndFrame();
        return false;
    }
    frame_->SetCloseGuard([this] { return SaveBeforeEnd(); });
    frame_->SetDropHandler(
        [this](const std::vector<std::string>& paths) { OpenDroppedFiles(paths); });
    frame_->ShowRecentFiles(recent_);
    return true;
}

// The frame goes first, the document last; the document's own end write is the last chance
// to keep its entries, so a failure is said even with the window gone.
void Application::DestroyDocumentAndFrame() {
    frame_.reset();
    docCommands_.reset();
    history_.reset();
    if (!doc_) return;
    if (const Status ended = doc_->End(); !ended && doc_->Doc().IsModified()) {
        AskUser(services_.messages, SaveFailedText(doc_->PathName(), ended));
    }
    TellEncodingSwitch(services_.messages, doc_->Doc());
    doc_.reset();
}

// A file that is not a catalogue is registered as an entry of the catalogue in memory.
void Application::RegisterFile(const std::string& path) {
    DialogEntryEditor editor(services_.dialogs, services_.messages,
                             SystemProgramIconLookup(services_.icons.types));
    history_->Record(StepKind::Add,
                     [&] { return AddFile(doc_->Doc(), path, editor, services_.icons); });
}

void Application::AdoptPath(const std::string& path) {
    doc_->SetPathName(path);
    frame_->SetDocumentPath(path);
    if (path.empty()) return;
    recent_.Add(path);
    recent_.WriteList(services_.settings);
    frame_->ShowRecentFiles(recent_);
}

bool Application::NewDocument() {
    if (!doc_ && !CreateDocumentAndFrame()) return false;
    AdoptPath({});
    ShowAsRead();
    return true;
}

// Once the views have settled on what was read, that counts as what the file holds.
void Application::ShowAsRead() {
    frame_->InitialUpdate();
    doc_->Doc().MarkUnchanged();
    frame_->UpdateCommandUI();
}

bool Application::OpenDocumentFile(const std::string& path) {
    const std::string full = AbsolutePath(path);
    if (doc_ && !doc_->PathName().empty() && SamePath(doc_->PathName(), full)) {
        frame_->RestoreAndRaise();
        return true;
    }
    const bool created = !doc_;
    if (created && !CreateDocumentAndFrame()) return false;
    // One open both decides whether the file can be read and reads it.
    ReadableFile file;
    if (const Status readable = file.Open(full); !readable)
        return OpenFailed(full, UserReason(readable), created);
    if (!IsCatalogueFile(full)) {
        RegisterFile(full);
        if (!created) return false;
        // A document named at start that is not a catalogue joins a new, untitled catalogue
        // rather than ending the program.
        AdoptPath({});
        frame_->InitialUpdate();
        return true;
    }
    // What the catalogue being left holds is kept: written to its own file, or offered one
    // when untitled, unless its entries are about to move into the empty file being opened.
    const bool carryingOver = doc_->PathName().empty() && doc_->WillCarryOverInto(full);
    if (!carryingOver && !docCommands_->MayLeave(DocumentCommands::Leaving::ForAnother))
        return false;
    // A failed carry-over must not be followed by reading the empty file over the entries.
    if (const Status carried = doc_->CarryOverInto(full, file); !carried) {
        const std::string why = doc_->Doc().SwitchRefused()
                                    ? std::string(LoadString(IDS_REASON_KEPT_CP932))
                                    : SystemReason(carried);
        return OpenFailed(full, FormatString(IDS_SAVE_FAILED, {full, why}), created);
    }
    TellEncodingSwitch(services_.messages, doc_->Doc());
    if (const Status loaded = doc_->Load(file, full); !loaded)
        return OpenFailed(full, SystemReason(loaded), created);
    AdoptPath(full);
    ShowAsRead();
    return true;
}

bool Application::OpenFailed(const std::string& path, const std::string& reason, bool created) {
    AskUser(services_.messages, FormatString(IDS_OPEN_FAILED, {path, reason}));
    if (created) DestroyDocumentAndFrame();
    return false;
}

// Entries must not vanish at the end: an untitled catalogue that holds some asks for a file,
// and a catalogue that cannot be written says so and lets the user stay.
bool Application::SaveBeforeEnd() {
    return !doc_ || docCommands_->MayLeave(DocumentCommands::Leaving::ForEnd);
}

void Application::OpenDroppedFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) OpenDocumentFile(path);
}

bool Application::QueryCommand(int id, CommandState& state) {
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST) {
        state.enabled = static_cast<size_t>(id - ID_FILE_MRU_FILE1) < recent_.Items().size();
        return true;
    }
    return id == ID_APP_ABOUT || id == ID_APP_EXIT || id == ID_FILE_NEW || id == ID_FILE_OPEN;
}

void Application::RunCommand(int id) {
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST) {
        OnOpenRecentFile(static_cast<size_t>(id - ID_FILE_MRU_FILE1));
        return;
    }
    switch (id) {
        case ID_APP_ABOUT:
            OnAppAbout();
            break;
        case ID_APP_EXIT:
            if (frame_) frame_->close();
            break;
        case ID_FILE_NEW:
            if (!doc_) NewDocument();
            break;
        case ID_FILE_OPEN:
            OnFileOpen();
            break;
        default:
            break;
    }
}

void Application::OnAppAbout() {
    AboutDialog dialog(frame_.get());
    services_.dialogs.DoModal(dialog);
}

void Application::OnFileOpen() {
    if (std::optional<std::string> path = services_.files.GetOpenFileName())
        OpenDocumentFile(*path);
}

void Application::OnOpenRecentFile(size_t index) {
    if (index >= recent_.Items().size()) return;
    const std::string path = recent_.Items()[index];
    if (OpenDocumentFile(path)) return;
    // A catalogue that can no longer be opened leaves the list.
    if (IsCatalogueFile(path) && !CheckReadable(path).ok()) {
        recent_.Remove(index);
        recent_.WriteList(services_.settings);
        if (frame_) frame_->ShowRecentFiles(recent_);
    }
}

std::vector<std::string> Application::WindowCaptions() {
    std::vector<std::string> captions;
    if (frame_ && frame_->isVisible()) captions.push_back(frame_->Caption());
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // Windows and dialogs only: menus and tooltips are top-level widgets too.
        const Qt::WindowType type = window->windowType();
        if (window != frame_.get() && window->isVisible() &&
            (type == Qt::Window || type == Qt::Dialog))
            captions.push_back(FromQt(window->windowTitle()));
    }
    return captions;
}

void Application::RestoreMainWindow() {
    if (frame_) frame_->RestoreAndRaise();
}

void Application::OpenFromShell(const std::string& path) {
    // A question being asked comes first; the file waits until it is answered.
    if (QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(kRetryWhileModalMs, &timers_, [this, path] { OpenFromShell(path); });
        return;
    }
    OpenDocumentFile(path);
    RestoreMainWindow();
}

}  // namespace kantoria
