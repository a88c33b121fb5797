// Whether the catalogue file can hold a path or a title as it is: fields are separated by TAB
// and lines end in CR LF, so a field holding any of them would come back altered. (A comment's
// line breaks are written as TAB and read back, so comments are not bound by this.)
#pragma once

#include <string_view>

namespace kantoria {

inline bool IsStorableField(std::string_view text) {
    return text.find_first_of("\t\r\n") == std::string_view::npos;
}

}  // namespace kantoria
