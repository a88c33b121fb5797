// The program's user texts by number, as the resources name them.
#pragma once

#include <string_view>

namespace kantoria {

// String ids used by more than one place.
inline constexpr int IDS_NO_FILE_OR_PROGRAM = 118;
inline constexpr int IDS_TITLE_NOT_STORABLE = 1001;

// The UTF-8 text of string id, or an empty view when the table has no such string.
std::string_view LoadString(int id);

}  // namespace kantoria
