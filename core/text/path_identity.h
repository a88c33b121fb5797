// When two paths name the same file: the one rule behind every lookup, index and grouping by
// path. A path that begins with "/" lives on a file system that tells letter case apart
// (Report.txt and report.txt are two files) and is compared byte for byte. Every other path
// (a drive letter, a UNC share, or relative, as catalogues written on Windows hold them) is
// compared without regard to case, as those file systems compare names. Separators are not
// unified: C:/Docs and C:\Docs stay two spellings, as they always were.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kantoria {

bool IsCaseSensitivePath(std::string_view path);

bool SamePath(std::string_view a, std::string_view b);

// A hash that agrees with SamePath.
std::uint64_t HashPath(std::string_view path);

// The path in a form where SamePath becomes plain equality: a case-sensitive path as it is,
// any other folded.
std::string PathKey(std::string_view path);

// Whether folder, a folder string that ends with a separator (or a bare drive "C:"), holds
// path, at any depth or as path itself.
bool PathIsWithin(std::string_view path, std::string_view folder);

// Function objects for containers keyed by path.
struct PathHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return HashPath(s); }
};
struct PathEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return SamePath(a, b); }
};

}  // namespace kantoria
