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

// A new catalogue must not cost the entries being left: they are written to their own file
// first (or, untitled, the user is asked as at the end), and the new catalogue is untitled, so
// that what is added to it is never written over the file just left.
bool DocumentCommands::KeepEntriesBeforeNew() {
    if (!session_.PathName().empty()) return DoSave(session_.PathName());
    return SaveUntitledIfWanted();
}

bool DocumentCommands::SaveUntitledIfWanted() {
    const MbAnswer answer = AfxMessageBox(
        services_.messages, FormatString(IDS_SAVE_CHANGES, {LoadString(IDS_UNTITLED)}),
        MbButtons::YesNoCancel, MbIcon::Exclamation);
    if (answer == MbAnswer::No) return true;
    return answer == MbAnswer::Yes && DoSave({});
}

void DocumentCommands::OnFileNew() {
    CMORKA2Doc& doc = session_.Doc();
    if (doc.m_EntryList.empty()) return;
    if (!KeepEntriesBeforeNew()) return;
    doc.ResetForNew();
    adoptPath_({});
    doc.UpdateAllViews(nullptr);
}

void DocumentCommands::OnToolsSearch() {
    CMORKA2Doc& doc = session_.Doc();
    const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
    CMORKA2Srch dialog(doc, services_.icons.types, *lister, services_.messages, services_.files);
    dialog.OnInitDialog();
    // The dialog has appended what it found; only an OK keeps it and shows it.
    if (services_.dialogs.DoModal(dialog) != QDialog::Accepted) return;
    session_.RebuildHoldersAndIcons();
    doc.UpdateAllViews(nullptr);
}

void DocumentCommands::OnViewRefresh() {
    // The catalogue is read back only once it is safely written: a failed write must not
    // cost the entries held in memory.
    if (session_.PathName().empty()) {
        if (!DoSave({})) return;
    } else if (!DoSave(session_.PathName())) {
        return;
    }
    if (const Status loaded = session_.Load(session_.PathName()); !loaded) {
        AfxMessageBox(services_.messages,
                      FormatString(IDS_OPEN_FAILED, {session_.PathName(), SystemReason(loaded)}));
    }
    session_.Doc().UpdateAllViews(nullptr);
}

}  // namespace kantoria
