// Whether the catalogue file can hold a path or a title as it is: fields are separated by TAB
// and lines end in CR LF, so a field holding any of them would come back altered. (A comment's
// line breaks are written as TAB and read back, so comments are not bound by this.)
#pragma once

#include <string_view>

namespace kantoria {

inline bool IsStorableField(std::string_view text) {
    return text.find_first_of("\t\r\n") == std::string_view::npos;
}

enum class PathFault {
    None,
    TabOrBreak,  // would split the line
    Nul,         // ends the name the system is given: another file would be looked at
    // Every line that begins with a header key is read back as that header line, as the
    // Windows program reads it: the entry would vanish and overwrite a header value.
    HeaderKey,
};

// Why the catalogue cannot hold path, if it cannot. Other control characters are legal in
// file names and stay storable.
PathFault PathFaultOf(std::string_view path);

// The user's words for a fault other than None.
std::string_view PathFaultText(PathFault fault);

inline bool IsStorablePath(std::string_view path) {
    return PathFaultOf(path) == PathFault::None;
}

}  // namespace kantoria
