// The commands that act on catalogue entries from the list. None of them creates, moves or
// deletes a file: they change the catalogue only.
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "core/catalogue/entry_editing.h"
#include "core/ports/desktop_shell.h"
#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"
#include "core/text/path_split.h"
#include "core/text/text_codec.h"
#include "core/views/entry_commands_logic.h"
#include "ui/dialogs/properties_dialog.h"
#include "ui/seams/dialog_runner.h"
#include "ui/seams/file_dialogs.h"
#include "ui/seams/message_box.h"
#include "ui/views/entry_list_view.h"

namespace kantoria {
namespace {

// The commands that act on the selected entry.
constexpr std::array<int, 7> kEntryCommands = {
    ID_ENTRY_OPEN,       ID_ENTRY_EXPLORER, ID_ENTRY_UPDATE, ID_ENTRY_DELETE,
    ID_ENTRY_PROPERTIES, ID_EDIT_CUT,       ID_EDIT_COPY};

bool NeedsEntry(int id) {
    return std::find(kEntryCommands.begin(), kEntryCommands.end(), id) != kEntryCommands.end();
}

}  // namespace

bool CMORKA2View::HandlesCommand(int id) {
    return NeedsEntry(id) || id == ID_ENTRY_ADD || id == ID_EDIT_PASTE || id == ID_ENTRY_MISSING ||
           id == ID_EDIT_SELECT_ALL;
}

bool CMORKA2View::CommandEnabled(int id) const {
    if (NeedsEntry(id)) return GetSelectedEntry() != nullptr;
    if (id == ID_EDIT_PASTE) return !ClipboardEmpty(doc_);
    if (id == ID_EDIT_SELECT_ALL) return model_->rowCount() > 0;
    return id == ID_ENTRY_ADD || id == ID_ENTRY_MISSING;
}

void CMORKA2View::RunCommand(int id) {
    switch (id) {
        case ID_ENTRY_OPEN:
            return OnEntryOpen();
        case ID_ENTRY_EXPLORER:
            return OnEntryExplorer();
        case ID_ENTRY_ADD:
            return OnEntryAdd();
        case ID_ENTRY_UPDATE:
            return OnEntryUpdate();
        case ID_ENTRY_DELETE:
            return OnEntryDelete();
        case ID_ENTRY_PROPERTIES:
            return OnEntryProperties();
        case ID_EDIT_CUT:
            return OnEditCut();
        case ID_EDIT_COPY:
            return OnEditCopy();
        case ID_EDIT_PASTE:
            return OnEditPaste();
        case ID_ENTRY_MISSING:
            return OnEntryMissing();
        case ID_EDIT_SELECT_ALL:
            return OnEditSelectAll();
        default:
            return;
    }
}

bool CMORKA2View::TryOpen(POSITION entry) {
    // The path goes to the desktop as it is, never through a command line.
    const std::string path = FileSystemText(entry->m_strPath, doc_.m_encoding);
    return PathExists(path) && services_.shell.OpenFile(path).ok();
}

void CMORKA2View::OpenEntryFile(POSITION entry) {
    if (entry == nullptr) return;
    if (!TryOpen(entry)) AfxMessageBox(services_.messages, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
}

void CMORKA2View::ExploreEntryFolder(POSITION entry) {
    if (entry == nullptr) return;
    if (!services_.shell.OpenFolder(FileSystemText(FolderOf(entry->m_strPath), doc_.m_encoding))
             .ok())
        AfxMessageBox(services_.messages, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
}

void CMORKA2View::OnEntryOpen() {
    const std::vector<POSITION> entries = GetSelectedEntries();
    if (entries.size() > kOpenWithoutAsking &&
        AfxMessageBox(services_.messages, OpenManyQuestion(entries.size()), MbButtons::OkCancel,
                      MbIcon::Question) != MbAnswer::Ok)
        return;
    // Files that would not open are told of once, not once each.
    bool failed = false;
    for (const POSITION entry : entries) failed = !TryOpen(entry) || failed;
    if (failed) AfxMessageBox(services_.messages, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
}

void CMORKA2View::OnEntryExplorer() {
    bool failed = false;
    for (const std::string& folder : DistinctFolders(GetSelectedEntries()))
        failed =
            !services_.shell.OpenFolder(FileSystemText(folder, doc_.m_encoding)).ok() || failed;
    if (failed) AfxMessageBox(services_.messages, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
}

void CMORKA2View::OnEntryAdd() {
    const std::optional<std::string> file = services_.files.GetEntryFileName({});
    if (!file) return;
    RecordStep(history_, StepKind::Add,
               [&] { return AddFile(doc_, *file, *editor_, services_.icons); });
    RefreshList();
}

void CMORKA2View::OnEntryUpdate() {
    const POSITION entry = GetSelectedEntry();
    if (entry == nullptr) return;
    RecordStep(history_, StepKind::Update, [&] { return EditEntry(doc_, entry, *editor_); });
    RefreshList();
}

void CMORKA2View::OnEntryDelete() {
    const std::vector<POSITION> entries = GetSelectedEntries();
    if (entries.empty()) return;
    const std::string question = entries.size() == 1
                                     ? DeleteQuestion(std::string(entries.front()->m_strTitle))
                                     : DeleteManyQuestion(entries.size());
    if (AfxMessageBox(services_.messages, question, MbButtons::OkCancel, MbIcon::Question) !=
        MbAnswer::Ok)
        return;
    RecordStep(history_, StepKind::Delete, [&] {
        Remove(entries);
        return true;
    });
}

void CMORKA2View::OnEditCut() {
    const POSITION entry = GetSelectedEntry();
    if (entry == nullptr) return;
    CopyToClipboard(doc_, entry);
    RecordStep(history_, StepKind::Cut, [&] {
        Remove({entry});
        return true;
    });
}

void CMORKA2View::OnEditCopy() {
    if (const POSITION entry = GetSelectedEntry()) CopyToClipboard(doc_, entry);
}

void CMORKA2View::OnEditPaste() {
    if (ClipboardEmpty(doc_)) return;
    const std::optional<std::string> file = services_.files.GetEntryFileName(doc_.m_strClipPath);
    if (!file) return;
    RecordStep(history_, StepKind::Paste, [&] {
        return AddEntryAs(doc_, PasteProposal(doc_, *file), *editor_, services_.icons);
    });
}

void CMORKA2View::OnEditSelectAll() {
    currentView()->selectAll();
}

void CMORKA2View::OnEntryProperties() {
    const POSITION entry = GetSelectedEntry();
    if (entry == nullptr) return;
    CMORKA2Pro dialog(SystemProgramIconLookup(services_.icons.types), window());
    dialog.m_title = entry->m_strTitle;
    dialog.m_comment = entry->m_strComment;
    dialog.m_file = entry->m_strPath;
    dialog.m_encoding = doc_.m_encoding;
    dialog.OnInitDialog();
    services_.dialogs.DoModal(dialog);
}

void CMORKA2View::Remove(const std::vector<POSITION>& entries) {
    // Found rows come from many holders: a removed entry may have been its holder's last.
    const std::size_t shown =
        doc_.m_pShownChoice ? entries.size() : static_cast<std::size_t>(model_->rowCount());
    if (RemoveEntries(doc_, entries, shown, services_.icons).after == AfterRemoval::UpdateAllViews)
        doc_.UpdateAllViews(nullptr);
    else
        RefreshList();
}

}  // namespace kantoria
