#include "ui/app/document_commands.h"

#include <algorithm>
#include <memory>

#include "core/app/instance_match.h"
#include "core/catalogue/catalogue_csv.h"
#include "core/os/atomic_file.h"
#include "core/os/file_read.h"
#include "core/os/folder_lister.h"
#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"
#include "core/text/path_split.h"
#include "core/text/text_codec.h"
#include "ui/app/encoding_notice.h"
#include "ui/dialogs/auto_search_dialog.h"

namespace kantoria {

DocumentCommands::DocumentCommands(DocumentSession& session, AppServices& services,
                                   EntryHistory& history,
                                   std::function<void(const std::string&)> adoptPath)
    : session_(session), services_(services), history_(history), adoptPath_(std::move(adoptPath)) {}

namespace {

// Undo and redo say which step they would take, in the menu and in the status bar.
void NameStep(CommandState& state, const std::string& step, int menuText, int prompt) {
    state.enabled = !step.empty();
    if (step.empty()) return;
    state.text = FormatString(menuText, {step});
    state.prompt = FormatString(prompt, {step});
}

}  // namespace

bool DocumentCommands::QueryCommand(int id, CommandState& state) {
    if (id == ID_EDIT_UNDO) {
        NameStep(state, history_.UndoName(), IDS_UNDO_MENU_STEP, IDS_UNDO_PROMPT_STEP);
        return true;
    }
    if (id == ID_EDIT_REDO) {
        NameStep(state, history_.RedoName(), IDS_REDO_MENU_STEP, IDS_REDO_PROMPT_STEP);
        return true;
    }
    return id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS || id == ID_FILE_NEW ||
           id == ID_VIEW_REFRESH || id == ID_TOOLS_SEARCH || id == ID_FILE_EXPORT ||
           id == ID_FILE_IMPORT;
}

void DocumentCommands::RunCommand(int id) {
    switch (id) {
        case ID_FILE_SAVE:
            DoSave(session_.PathName());
            break;
        case ID_FILE_SAVE_AS:
            DoSave({});
            break;
        case ID_FILE_NEW:
            OnFileNew();
            break;
        case ID_TOOLS_SEARCH:
            OnToolsSearch();
            break;
        case ID_VIEW_REFRESH:
            OnViewRefresh();
            break;
        case ID_FILE_EXPORT:
            OnFileExport();
            break;
        case ID_FILE_IMPORT:
            OnFileImport();
            break;
        case ID_EDIT_UNDO:
            history_.Undo();
            break;
        case ID_EDIT_REDO:
            history_.Redo();
            break;
        default:
            break;
    }
}

std::string DocumentCommands::ProposedName() const {
    if (!session_.PathName().empty()) return session_.PathName();
    return std::string(LoadString(IDS_UNTITLED)) + std::string(TemplateField(DocField::FilterExt));
}

// A file picked by Save As is the user's explicit choice, its replacement already confirmed.
bool DocumentCommands::DoSave(const std::string& path) {
    if (!path.empty()) return SaveTo(path, ChangedFile::Keep);
    std::optional<std::string> chosen = services_.files.GetSaveFileName(ProposedName());
    return chosen && SaveTo(*chosen, ChangedFile::Overwrite);
}

bool DocumentCommands::SaveTo(const std::string& target, ChangedFile changed) {
    const Status saved = session_.OnSaveDocument(target, changed);
    if (saved.code() == StatusCode::ChangedOnDisk) {
        const Kept kept = AskWhoseWorkStays(false);
        if (kept == Kept::Theirs) ReadAgain();
        return kept == Kept::Ours;
    }
    if (!saved) {
        // A refused switch to UTF-8 was the user's own answer: nothing more to say.
        if (!session_.Doc().SwitchRefused())
            AskUser(services_.messages, SaveFailedText(target, saved));
        return false;
    }
    adoptPath_(target);
    TellEncodingSwitch(services_.messages, session_.Doc());
    return true;
}

// The user reads the other program's file again (or, when leaving, lets this window's changes
// go), writes over it, or saves this window's work elsewhere. Neither when the user stays, or
// when keeping this window's work failed (its failure has been said).
DocumentCommands::Kept DocumentCommands::AskWhoseWorkStays(bool leaving) {
    const std::string text = FormatString(
        leaving ? IDS_CHANGED_ON_DISK_LEAVING : IDS_CHANGED_ON_DISK, {session_.PathName()});
    switch (AskUser(services_.messages, text,
                    leaving ? MbButtons::LeavingChangedFile : MbButtons::ChangedFile,
                    MbIcon::Exclamation)) {
        case MbAnswer::Reload:
        case MbAnswer::Discard:
            return Kept::Theirs;
        case MbAnswer::Overwrite:
            return SaveTo(session_.PathName(), ChangedFile::Overwrite) ? Kept::Ours : Kept::Neither;
        case MbAnswer::SaveAs:
            return DoSave({}) ? Kept::Ours : Kept::Neither;
        default:
            return Kept::Neither;
    }
}

bool DocumentCommands::MayLeave(Leaving why) {
    Catalogue& doc = session_.Doc();
    if (session_.PathName().empty()) return doc.Entries().empty() || SaveUntitledIfWanted();
    const Status written = session_.WriteBeforeLeaving();
    TellEncodingSwitch(services_.messages, doc);
    if (written || !doc.IsModified()) return true;
    if (written.code() == StatusCode::ChangedOnDisk) {
        const Kept kept = AskWhoseWorkStays(true);
        // Their file stays as it is: nothing is written for this window's changes later either.
        if (kept == Kept::Theirs) doc.MarkUnchanged();
        return kept != Kept::Neither;
    }
    const int question = why == Leaving::ForEnd ? IDS_END_SAVE_FAILED : IDS_LEAVE_SAVE_FAILED;
    const std::string reason = doc.SwitchRefused() ? std::string(LoadString(IDS_REASON_KEPT_CP932))
                                                   : SystemReason(written);
    const std::string text = FormatString(question, {session_.PathName(), reason});
    // Enter stays with the changes; Save As keeps them in another file and goes on.
    switch (AskUser(services_.messages, text, MbButtons::GoOnUnsaved, MbIcon::Exclamation)) {
        case MbAnswer::Yes:
            // The user let the changes go: nothing is written for them later either.
            doc.MarkUnchanged();
            return true;
        case MbAnswer::SaveAs:
            return DoSave({});
        default:
            return false;
    }
}

bool DocumentCommands::SaveUntitledIfWanted() {
    const MbAnswer answer =
        AskUser(services_.messages, FormatString(IDS_SAVE_CHANGES, {LoadString(IDS_UNTITLED)}),
                MbButtons::YesNoCancel, MbIcon::Exclamation);
    if (answer == MbAnswer::No) return true;
    return answer == MbAnswer::Yes && DoSave({});
}

// The new catalogue is untitled, so that what is added to it is never written over the file
// just left.
void DocumentCommands::OnFileNew() {
    Catalogue& doc = session_.Doc();
    if (doc.Entries().empty()) return;
    if (!MayLeave(Leaving::ForAnother)) return;
    doc.ResetForNew();
    adoptPath_({});
    doc.UpdateAllViews(nullptr);
    doc.MarkUnchanged();
}

void DocumentCommands::OnToolsSearch() {
    Catalogue& doc = session_.Doc();
    const bool wasModified = doc.IsModified();
    const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
    AutoSearchDialog dialog(doc, services_.icons.types, *lister, services_.messages,
                            services_.files);
    dialog.SetCatalogue(session_.PathName());
    dialog.OnInitDialog();
    // The dialog has appended what it found; only an OK keeps it and shows it.
    bool accepted = false;
    history_.Record(StepKind::Search, [&] {
        accepted = services_.dialogs.DoModal(dialog) == QDialog::Accepted;
        return accepted;
    });
    if (!accepted) {
        doc.KeepUnmodified(wasModified);
        return;
    }
    session_.RebuildHoldersAndIcons();
    doc.UpdateAllViews(nullptr);
}

void DocumentCommands::OnViewRefresh() {
    Catalogue& doc = session_.Doc();
    // The catalogue is read back only once it is safely written: a failed write must not
    // cost the entries held in memory. Only the view state lost is not worth keeping them.
    if (session_.PathName().empty()) {
        if (doc.Entries().empty()) {
            history_.Clear();
            doc.UpdateAllViews(nullptr);
            return;
        }
        if (!DoSave({})) return;
    } else if (const Status written = session_.WriteIfChanged(); !written && doc.IsModified()) {
        if (written.code() != StatusCode::ChangedOnDisk) {
            if (!doc.SwitchRefused())
                AskUser(services_.messages, SaveFailedText(session_.PathName(), written));
            return;
        }
        if (AskWhoseWorkStays(false) == Kept::Neither) return;
    } else {
        TellEncodingSwitch(services_.messages, doc);
    }
    ReadAgain();
}

void DocumentCommands::ReadAgain() {
    Catalogue& doc = session_.Doc();
    if (const Status loaded = session_.Load(session_.PathName()); !loaded) {
        AskUser(services_.messages,
                FormatString(IDS_OPEN_FAILED, {session_.PathName(), SystemReason(loaded)}));
    }
    doc.UpdateAllViews(nullptr);
    doc.MarkUnchanged();
}

namespace {

// How many skipped rows the import's report lists one by one.
constexpr size_t kListedRows = 20;

int ReasonText(CsvSkip reason) {
    switch (reason) {
        case CsvSkip::NoPath:
            return IDS_IMPORT_NO_PATH;
        case CsvSkip::Registered:
            return IDS_IMPORT_REGISTERED;
        case CsvSkip::NotStorable:
        case CsvSkip::UnclosedQuote:  // said in a sentence of its own
            return IDS_IMPORT_NOT_STORABLE;
        case CsvSkip::NulInPath:
            return IDS_IMPORT_NUL;
        case CsvSkip::HeaderKeyPath:
            return IDS_IMPORT_HEADER_KEY;
    }
    return IDS_IMPORT_NO_PATH;
}

std::string SkippedText(std::vector<CsvSkippedRow> skipped, Encoding enc) {
    std::string text = FormatString(IDS_IMPORT_SKIPPED, {std::to_string(skipped.size())});
    text += "\n";
    // The open quote cost the rest of the file, so it is said first, not after the list.
    if (!skipped.empty() && skipped.back().reason == CsvSkip::UnclosedQuote) {
        text += "\n";
        text += FormatString(IDS_IMPORT_UNCLOSED_QUOTE, {std::to_string(skipped.back().row)});
        text += "\n";
        skipped.pop_back();
    }
    const size_t listed = std::min(skipped.size(), kListedRows);
    for (size_t i = 0; i < listed; ++i) {
        text += "\n";
        text += FormatString(IDS_IMPORT_SKIPPED_ROW,
                             {std::to_string(skipped[i].row), ToDisplayText(skipped[i].path, enc),
                              LoadString(ReasonText(skipped[i].reason))});
    }
    if (skipped.size() > listed) {
        text += "\n";
        text += FormatString(IDS_SEARCH_MORE_FILES, {std::to_string(skipped.size() - listed)});
    }
    return text;
}

}  // namespace

// The file is written whole or not at all, as a save is.
void DocumentCommands::OnFileExport() {
    Catalogue& doc = session_.Doc();
    const std::string base =
        session_.PathName().empty()
            ? std::string(LoadString(IDS_UNTITLED))
            : session_.PathName().substr(
                  0, session_.PathName().size() - SplitPath(session_.PathName()).extension.size());
    const std::optional<std::string> target = services_.files.GetExportFileName(base + ".csv");
    if (!target) return;
    const CsvExport exported = ExportCsv(doc);
    Status status = Status::Ok();
    if (const std::unique_ptr<AtomicFile> file =
            AtomicFile::Create(ToSystemName(*target), status)) {
        file->Write(exported.bytes);
        status = file->status();
        if (status) status = file->Commit();
    }
    if (!status) {
        AskUser(services_.messages, SaveFailedText(*target, status));
        return;
    }
    if (exported.entriesWithUndecodable > 0) {
        AskUser(
            services_.messages,
            FormatString(IDS_EXPORT_UNDECODABLE, {std::to_string(exported.entriesWithUndecodable)}),
            MbButtons::Ok, MbIcon::Information);
    }
}

void DocumentCommands::OnFileImport() {
    Catalogue& doc = session_.Doc();
    const std::optional<std::string> source = services_.files.GetImportFileName();
    if (!source) return;
    std::string bytes;
    if (const Status read = ReadWholeFile(ToSystemName(*source), bytes); !read) {
        AskUser(services_.messages, FormatString(IDS_OPEN_FAILED, {*source, SystemReason(read)}));
        return;
    }
    CsvImport imported;
    history_.Record(StepKind::Import, [&] {
        imported = ImportCsv(doc, bytes);
        return true;
    });
    if (!imported.headerFound) {
        AskUser(services_.messages, FormatString(IDS_IMPORT_NO_HEADER, {*source}));
        return;
    }
    if (!imported.added.empty()) {
        session_.RebuildHoldersAndIcons();
        doc.UpdateAllViews(nullptr);
    }
    if (!imported.skipped.empty()) {
        AskUser(services_.messages, SkippedText(imported.skipped, doc.FileEncoding()),
                MbButtons::Ok, MbIcon::Information);
    }
}

}  // namespace kantoria
