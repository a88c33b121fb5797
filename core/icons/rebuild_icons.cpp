#include "core/icons/rebuild_icons.h"

#include <unordered_map>

#include "core/icons/icon_source.h"
#include "core/text/path_split.h"
#include "core/text/text_fold.h"

namespace kantoria {
namespace {

// Appends the one image of a new extension, looked up through the entry's path.
void AppendIconFor(std::string_view extension, std::string_view path, const IconServices& services,
                   IconListBuilder& lists) {
    if (extension.size() <= kMaxExtensionBytes) {
        CIconSource source;
        source.m_strPath = path;
        if (FindDefaultIcon(source, services.types, services.env)) {
            if (!source.m_szIconFile.empty() &&
                lists.AppendFileIcon(source.m_szIconFile, source.m_nIconIndex))
                return;
            if (!source.m_szProgram.empty() && lists.AppendFileIcon(source.m_szProgram, 0)) return;
        }
    }
    lists.AppendDefaultIcon();
}

}  // namespace

void RebuildIcons(CMORKA2Doc& doc, const IconServices& services) {
    doc.m_ImageListLarge.reset();
    doc.m_ImageListSmall.reset();
    doc.m_ExtList.clear();
    const std::unique_ptr<IconListBuilder> lists = services.icons.NewLists();

    // Views into m_ExtList would dangle as it grows: the index keeps its own keys.
    std::unordered_map<std::string, int, NoCaseHash, NoCaseEqual> positions;
    for (const CDocEntry& entry : doc.m_EntryList) {
        const std::string_view extension = SplitPath(entry.m_strPath).extension;
        const auto found = positions.find(extension);
        if (found != positions.end()) {
            doc.m_EntryList.SetImage(&entry, found->second);
            continue;
        }
        const int position = static_cast<int>(doc.m_ExtList.size());
        doc.m_EntryList.SetImage(&entry, position);
        doc.m_ExtList.emplace_back(extension);
        positions.emplace(extension, position);
        AppendIconFor(extension, entry.m_strPath, services, *lists);
    }
    doc.m_ImageListLarge = lists->TakeLargeList();
    doc.m_ImageListSmall = lists->TakeSmallList();
}

}  // namespace kantoria
