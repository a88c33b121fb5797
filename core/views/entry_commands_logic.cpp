#include "core/views/entry_commands_logic.h"

#include <filesystem>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "core/os/system_path.h"
#include "core/resources/string_table.h"
#include "core/text/path_identity.h"
#include "core/text/path_split.h"
#include "core/text/text_codec.h"

namespace kantoria {

void CopyToClipboard(Catalogue& doc, EntryRef entry) {
    doc.SetClipTitle(entry->Title());
    doc.SetClipComment(entry->Comment());
    doc.SetClipPath(entry->Path());
}

bool ClipboardEmpty(const Catalogue& doc) {
    return doc.ClipTitle().empty();
}

EntryFields PasteProposal(const Catalogue& doc, std::string file) {
    return {std::move(file), doc.ClipTitle(), doc.ClipComment()};
}

AfterRemoval RemoveEntry(Catalogue& doc, EntryRef entry, std::size_t shown,
                         const IconServices& icons) {
    doc.Entries().Remove(entry);
    doc.RebuildHolders();
    RebuildIcons(doc, icons);
    return shown == 1 ? AfterRemoval::UpdateAllViews : AfterRemoval::RefreshList;
}

Removal RemoveEntries(Catalogue& doc, const std::vector<EntryRef>& entries, std::size_t shown,
                      const IconServices& icons) {
    Removal removal;
    removal.removed = doc.Entries().RemoveMany(entries);
    doc.RebuildHolders();
    RebuildIcons(doc, icons);
    removal.after =
        removal.removed.size() >= shown ? AfterRemoval::UpdateAllViews : AfterRemoval::RefreshList;
    return removal;
}

bool PathExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(SystemPath(path), error);
}

std::string DeleteQuestion(const std::string& title) {
    return FormatString(IDS_DELETE_QUESTION, {title});
}

std::string DeleteManyQuestion(std::size_t count) {
    return FormatString(IDS_DELETE_MANY_QUESTION, {std::to_string(count)});
}

std::string OpenManyQuestion(std::size_t count) {
    return FormatString(IDS_OPEN_MANY_QUESTION, {std::to_string(count)});
}

std::vector<std::string> DistinctFolders(const std::vector<EntryRef>& entries) {
    std::unordered_set<std::string_view, PathHash, PathEqual> seen;
    std::vector<std::string> folders;
    for (const EntryRef entry : entries) {
        const std::string_view folder = FolderOf(entry->Path());
        if (seen.insert(folder).second) folders.emplace_back(folder);
    }
    return folders;
}

}  // namespace kantoria
