#include "core/icons/rebuild_icons.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "core/icons/icon_source.h"
#include "core/text/path_split.h"
#include "core/text/text_fold.h"

namespace kantoria {
namespace {

// Appends the one image of a new extension, looked up through the entry's path.
void AppendIconFor(std::string_view extension, std::string_view path, const IconServices& services,
                   IconListBuilder& lists) {
    if (extension.size() <= kMaxExtensionBytes) {
        IconSource source;
        source.path = path;
        if (FindDefaultIcon(source, services.types, services.env)) {
            if (!source.iconFile.empty() && lists.AppendFileIcon(source.iconFile, source.iconIndex))
                return;
            if (!source.program.empty() && lists.AppendFileIcon(source.program, 0)) return;
        }
    }
    lists.AppendDefaultIcon();
}

}  // namespace

void RebuildIcons(Catalogue& doc, const IconServices& services) {
    doc.SetLargeImages({});
    doc.SetSmallImages({});
    doc.SetExtensions({});
    std::vector<std::string> extensions;
    const std::unique_ptr<IconListBuilder> lists = services.icons.NewLists();

    // Views into the extension list would dangle as it grows: the index keeps its own keys.
    std::unordered_map<std::string, int, NoCaseHash, NoCaseEqual> positions;
    for (const Entry& entry : doc.Entries()) {
        const std::string_view extension = SplitPath(entry.Path()).extension;
        const auto found = positions.find(extension);
        if (found != positions.end()) {
            doc.Entries().SetImage(&entry, found->second);
            continue;
        }
        const int position = static_cast<int>(extensions.size());
        doc.Entries().SetImage(&entry, position);
        extensions.emplace_back(extension);
        positions.emplace(extension, position);
        AppendIconFor(extension, entry.Path(), services, *lists);
    }
    doc.SetExtensions(std::move(extensions));
    doc.SetLargeImages(lists->TakeLargeList());
    doc.SetSmallImages(lists->TakeSmallList());
}

}  // namespace kantoria
