#include "ui/app/document_commands.h"

#include <memory>

#include "core/app/instance_match.h"
#include "core/os/folder_lister.h"
#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"
#include "ui/app/encoding_notice.h"
#include "ui/dialogs/search_dialog.h"

namespace kantoria {

DocumentCommands::DocumentCommands(DocumentSession& session, AppServices& services,
                                   std::function<void(const std::string&)> adoptPath)
    : session_(session), services_(services), adoptPath_(std::move(adoptPath)) {}

bool DocumentCommands::QueryCommand(int id, CommandState&) {
    return id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS || id == ID_FILE_NEW ||
           id == ID_VIEW_REFRESH || id == ID_TOOLS_SEARCH;
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
        default:
            break;
    }
}

std::string DocumentCommands::ProposedName() const {
    if (!session_.PathName().empty()) return session_.PathName();
    return std::string(LoadString(IDS_UNTITLED)) + std::string(TemplateField(DocField::FilterExt));
}

bool DocumentCommands::DoSave(const std::string& path) {
    std::string target = path;
    if (target.empty()) {
        std::optional<std::string> chosen = services_.files.GetSaveFileName(ProposedName());
        if (!chosen) return false;
        target = std::move(*chosen);
    }
    if (const Status saved = session_.OnSaveDocument(target); !saved) {
        AfxMessageBox(services_.messages, SaveFailedText(target, saved));
        return false;
    }
    adoptPath_(target);
    TellEncodingSwitch(services_.messages, session_.Doc());
    return true;
}

bool DocumentCommands::MayLeave(Leaving why) {
    CMORKA2Doc& doc = session_.Doc();
    if (session_.PathName().empty()) return doc.m_EntryList.empty() || SaveUntitledIfWanted();
    const Status written = session_.WriteBeforeLeaving();
    TellEncodingSwitch(services_.messages, doc);
    if (written || !doc.IsModified()) return true;
    const int question = why == Leaving::ForEnd ? IDS_END_SAVE_FAILED : IDS_LEAVE_SAVE_FAILED;
    const std::string text = FormatString(question, {session_.PathName(), SystemReason(written)});
    if (AfxMessageBox(services_.messages, text, MbButtons::YesNo, MbIcon::Exclamation) !=
        MbAnswer::Yes)
        return false;
    // The user let the changes go: nothing is written for them later either.
    doc.MarkUnchanged();
    return true;
}

bool DocumentCommands::SaveUntitledIfWanted() {
    const MbAnswer answer = AfxMessageBox(
        services_.messages, FormatString(IDS_SAVE_CHANGES, {LoadString(IDS_UNTITLED)}),
        MbButtons::YesNoCancel, MbIcon::Exclamation);
    if (answer == MbAnswer::No) return true;
    return answer == MbAnswer::Yes && DoSave({});
}

// The new catalogue is untitled, so that what is added to it is never written over the file
// just left.
void DocumentCommands::OnFileNew() {
    CMORKA2Doc& doc = session_.Doc();
    if (doc.m_EntryList.empty()) return;
    if (!MayLeave(Leaving::ForAnother)) return;
    doc.ResetForNew();
    adoptPath_({});
    doc.UpdateAllViews(nullptr);
    doc.MarkUnchanged();
}

void DocumentCommands::OnToolsSearch() {
    CMORKA2Doc& doc = session_.Doc();
    const bool wasModified = doc.IsModified();
    const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
    CMORKA2Srch dialog(doc, services_.icons.types, *lister, services_.messages, services_.files);
    dialog.SetCatalogue(session_.PathName());
    dialog.OnInitDialog();
    // The dialog has appended what it found; only an OK keeps it and shows it.
    if (services_.dialogs.DoModal(dialog) != QDialog::Accepted) {
        doc.KeepUnmodified(wasModified);
        return;
    }
    session_.RebuildHoldersAndIcons();
    doc.UpdateAllViews(nullptr);
}

void DocumentCommands::OnViewRefresh() {
    CMORKA2Doc& doc = session_.Doc();
    // The catalogue is read back only once it is safely written: a failed write must not
    // cost the entries held in memory. Only the view state lost is not worth keeping them.
    if (session_.PathName().empty()) {
        if (doc.m_EntryList.empty()) {
            doc.UpdateAllViews(nullptr);
            return;
        }
        if (!DoSave({})) return;
    } else if (const Status written = session_.WriteIfChanged(); !written && doc.IsModified()) {
        AfxMessageBox(services_.messages, SaveFailedText(session_.PathName(), written));
        return;
    } else {
        TellEncodingSwitch(services_.messages, doc);
    }
    if (const Status loaded = session_.Load(session_.PathName()); !loaded) {
        AfxMessageBox(services_.messages,
                      FormatString(IDS_OPEN_FAILED, {session_.PathName(), SystemReason(loaded)}));
    }
    doc.UpdateAllViews(nullptr);
    doc.MarkUnchanged();
}

}  // namespace kantoria
