// The commands that act on catalogue entries from the list. None of them creates, moves or
// deletes a file: they change the catalogue only.
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "core/app/entry_editing.h"
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

bool EntryListView::HandlesCommand(int id) {
    return NeedsEntry(id) || id == ID_ENTRY_ADD || id == ID_EDIT_PASTE || id == ID_ENTRY_MISSING ||
           id == ID_EDIT_SELECT_ALL;
}

bool EntryListView::CommandEnabled(int id) const {
    if (NeedsEntry(id)) return GetSelectedEntry() != nullptr;
    if (id == ID_EDIT_PASTE) return !ClipboardEmpty(doc_);
    if (id == ID_EDIT_SELECT_ALL) return model_->rowCount() > 0;
    return id == ID_ENTRY_ADD || id == ID_ENTRY_MISSING;
}

void EntryListView::RunCommand(int id) {
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

bool EntryListView::TryOpen(EntryRef entry) {
    // The path goes to the desktop as it is, never through a command line.
    const std::string path = FileSystemText(entry->Path(), doc_.FileEncoding());
    return PathExists(path) && services_.shell.OpenFile(path).ok();
}

void EntryListView::OpenEntryFile(EntryRef entry) {
    if (entry == nullptr) return;
    if (!TryOpen(entry)) AskUser(services_.messages, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
}

void EntryListView::ExploreEntryFolder(EntryRef entry) {
    if (entry == nullptr) return;
    if (!services_.shell.OpenFolder(FileSystemText(FolderOf(entry->Path()), doc_.FileEncoding()))
             .ok())
        AskUser(services_.messages, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
}

void EntryListView::OnEntryOpen() {
    const std::vector<EntryRef> entries = GetSelectedEntries();
    if (entries.size() > kOpenWithoutAsking &&
        AskUser(services_.messages, OpenManyQuestion(entries.size()), MbButtons::OkCancel,
                MbIcon::Question) != MbAnswer::Ok)
        return;
    // Files that would not open are told of once, not once each.
    bool failed = false;
    for (const EntryRef entry : entries) failed = !TryOpen(entry) || failed;
    if (failed) AskUser(services_.messages, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
}

void EntryListView::OnEntryExplorer() {
    bool failed = false;
    for (const std::string& folder : DistinctFolders(GetSelectedEntries()))
        failed =
            !services_.shell.OpenFolder(FileSystemText(folder, doc_.FileEncoding())).ok() || failed;
    if (failed) AskUser(services_.messages, LoadString(IDS_FILE_OR_PROGRAM_MISSING));
}

void EntryListView::OnEntryAdd() {
    const std::optional<std::string> file = services_.files.GetEntryFileName({});
    if (!file) return;
    RecordStep(history_, StepKind::Add,
               [&] { return AddFile(doc_, *file, *editor_, services_.icons); });
    RefreshList();
}

void EntryListView::OnEntryUpdate() {
    const EntryRef entry = GetSelectedEntry();
    if (entry == nullptr) return;
    RecordStep(history_, StepKind::Update, [&] { return EditEntry(doc_, entry, *editor_); });
    RefreshList();
}

void EntryListView::OnEntryDelete() {
    const std::vector<EntryRef> entries = GetSelectedEntries();
    if (entries.empty()) return;
    const std::string question = entries.size() == 1
                                     ? DeleteQuestion(std::string(entries.front()->Title()))
                                     : DeleteManyQuestion(entries.size());
    if (AskUser(services_.messages, question, MbButtons::OkCancel, MbIcon::Question) !=
        MbAnswer::Ok)
        return;
    RecordStep(history_, StepKind::Delete, [&] {
        Remove(entries);
        return true;
    });
}

void EntryListView::OnEditCut() {
    const EntryRef entry = GetSelectedEntry();
    if (entry == nullptr) return;
    CopyToClipboard(doc_, entry);
    RecordStep(history_, StepKind::Cut, [&] {
        Remove({entry});
        return true;
    });
}

void EntryListView::OnEditCopy() {
    if (const EntryRef entry = GetSelectedEntry()) CopyToClipboard(doc_, entry);
}

void EntryListView::OnEditPaste() {
    if (ClipboardEmpty(doc_)) return;
    const std::optional<std::string> file = services_.files.GetEntryFileName(doc_.ClipPath());
    if (!file) return;
    RecordStep(history_, StepKind::Paste, [&] {
        return AddEntryAs(doc_, PasteProposal(doc_, *file), *editor_, services_.icons);
    });
}

void EntryListView::OnEditSelectAll() {
    currentView()->selectAll();
}

void EntryListView::OnEntryProperties() {
    const EntryRef entry = GetSelectedEntry();
    if (entry == nullptr) return;
    PropertiesDialog dialog(SystemProgramIconLookup(services_.icons.types), window());
    dialog.title = entry->Title();
    dialog.comment = entry->Comment();
    dialog.file = entry->Path();
    dialog.encoding = doc_.FileEncoding();
    const auto& unreadable = rows_.Unreadable();
    if (const auto why = unreadable.find(DocumentPath(entry->Path(), doc_.FileEncoding()));
        why != unreadable.end())
        dialog.textProblem = why->second;
    dialog.OnInitDialog();
    services_.dialogs.DoModal(dialog);
}

void EntryListView::Remove(const std::vector<EntryRef>& entries) {
    // Found rows come from many holders: a removed entry may have been its holder's last.
    const std::size_t shown =
        !Content().ShowsHolder() ? entries.size() : static_cast<std::size_t>(model_->rowCount());
    if (RemoveEntries(doc_, entries, shown, services_.icons).after == AfterRemoval::UpdateAllViews)
        doc_.UpdateAllViews(nullptr);
    else
        RefreshList();
}

}  // namespace kantoria
