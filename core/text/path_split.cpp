#include "core/text/path_split.h"

namespace kantoria {

PathParts SplitPath(std::string_view path) {
    PathParts parts;
    // UTF-8 never uses ':' or a separator inside a multi-byte character, so byte scans are safe.
    size_t start = 0;
    if (path.size() >= 2 && path[1] == ':' && path[0] != '/') {
        parts.drive = path.substr(0, 2);
        start = 2;
    }
    const std::string_view rest = path.substr(start);
    // The path decides which characters separate: a drive's rest may begin with '/' too.
    const size_t lastSep = start == 0 ? LastSeparatorIn(path) : rest.find_last_of("\\/");
    const size_t nameStart = lastSep == std::string_view::npos ? 0 : lastSep + 1;
    parts.directory = rest.substr(0, nameStart);
    const std::string_view file = rest.substr(nameStart);
    const size_t dot = file.rfind('.');
    if (dot == std::string_view::npos) {
        parts.name = file;
    } else {
        parts.name = file.substr(0, dot);
        parts.extension = file.substr(dot);
    }
    return parts;
}

std::string_view FolderOf(std::string_view path) {
    const PathParts parts = SplitPath(path);
    return path.substr(0, parts.drive.size() + parts.directory.size());
}

}  // namespace kantoria
