#include "core/views/entry_commands_logic.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "core/resources/string_table.h"
#include "core/text/text_codec.h"

namespace kantoria {

void CopyToClipboard(CMORKA2Doc& doc, POSITION entry) {
    doc.m_strClipTitle = entry->m_strTitle;
    doc.m_strClipComment = entry->m_strComment;
    doc.m_strClipPath = entry->m_strPath;
}

bool ClipboardEmpty(const CMORKA2Doc& doc) {
    return doc.m_strClipTitle.empty();
}

EntryFields PasteProposal(const CMORKA2Doc& doc, std::string file) {
    return {std::move(file), doc.m_strClipTitle, doc.m_strClipComment};
}

AfterRemoval RemoveEntry(CMORKA2Doc& doc, POSITION entry, std::size_t shown,
                         const IconServices& icons) {
    doc.m_EntryList.Remove(entry);
    doc.RebuildHolders();
    RebuildIcons(doc, icons);
    return shown == 1 ? AfterRemoval::UpdateAllViews : AfterRemoval::RefreshList;
}

bool PathExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(ToSystemName(path)), error);
}

std::string DeleteQuestion(const std::string& title) {
    return FormatString(IDS_DELETE_QUESTION, {title});
}

}  // namespace kantoria
