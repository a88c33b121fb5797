#include "core/catalogue/storable_field.h"

#include "core/catalogue/catalogue_format.h"
#include "core/resources/string_table.h"

namespace kantoria {

PathFault PathFaultOf(std::string_view path) {
    if (!IsStorableField(path)) return PathFault::TabOrBreak;
    if (path.find('\0') != std::string_view::npos) return PathFault::Nul;
    // The reader matches the keys exactly, letter case counting, at the start of the line,
    // which is where the path stands.
    for (const std::string_view key :
         {kKeySelected, kKeyLastHolder, kKeyTitleWidth, kKeyCommentWidth, kKeyPathWidth})
        if (path.substr(0, key.size()) == key) return PathFault::HeaderKey;
    return PathFault::None;
}

std::string_view PathFaultText(PathFault fault) {
    switch (fault) {
        case PathFault::None:
            break;
        case PathFault::TabOrBreak:
            return LoadString(IDS_PATH_TAB_OR_BREAK);
        case PathFault::Nul:
            return LoadString(IDS_PATH_NUL);
        case PathFault::HeaderKey:
            return LoadString(IDS_PATH_HEADER_KEY);
    }
    return {};
}

}  // namespace kantoria
