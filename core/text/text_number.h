// Reading a number the way the C runtime's atoi does, for values that travel in text.
#pragma once

#include <string_view>

namespace kantoria {

// Leading blanks skipped, an optional sign, then digits up to the first other character; no
// digits gives 0. Values beyond int are clamped to its range instead of being undefined.
int ParseLeadingInt(std::string_view text);

}  // namespace kantoria
