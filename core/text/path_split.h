// Splits a path into drive, directory, name and extension the way the classic runtime's path
// splitter does, accepting both '\' and '/' so that catalogues written on Windows
// (C:\Docs\a.txt) and on Linux (/home/u/a.txt) are handled alike. In a path that begins with
// "/" only '/' separates: there a backslash is part of a name, as Linux allows.
#pragma once

#include <string>
#include <string_view>

namespace kantoria {

struct PathParts {
    std::string_view drive;      // "C:" when the second character is ':'
    std::string_view directory;  // up to and including the last separator
    std::string_view name;       // the rest without the extension
    std::string_view extension;  // from the last '.' of the last component, dot included
};

// The parts are views into path. A "/" path has no drive.
PathParts SplitPath(std::string_view path);

// Drive followed by directory: the folder of a holder. A view into path.
std::string_view FolderOf(std::string_view path);

inline bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// Whether c separates folders in path (or in a folder string of it).
inline bool IsSeparatorIn(std::string_view path, char c) {
    return c == '/' || (c == '\\' && (path.empty() || path.front() != '/'));
}

// The position of the last separator of path, or npos.
inline size_t LastSeparatorIn(std::string_view path) {
    return path.find_last_of(!path.empty() && path.front() == '/' ? "/" : "\\/");
}

}  // namespace kantoria
