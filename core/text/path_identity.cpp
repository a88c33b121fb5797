#include "core/text/path_identity.h"

#include <functional>

#include "core/text/text_fold.h"

namespace kantoria {

bool IsCaseSensitivePath(std::string_view path) {
    return !path.empty() && path.front() == '/';
}

bool SamePath(std::string_view a, std::string_view b) {
    // A "/" path never equals another path without regard to case either: the first bytes
    // differ, so the rule of either side decides alike.
    return IsCaseSensitivePath(a) ? a == b : EqualsNoCase(a, b);
}

std::uint64_t HashPath(std::string_view path) {
    return IsCaseSensitivePath(path) ? std::hash<std::string_view>{}(path) : HashNoCase(path);
}

std::string PathKey(std::string_view path) {
    return IsCaseSensitivePath(path) ? std::string(path) : FoldCase(path);
}

bool PathIsWithin(std::string_view path, std::string_view folder) {
    return path.size() >= folder.size() && SamePath(path.substr(0, folder.size()), folder);
}

}  // namespace kantoria
