// Comparison "without regard to case": folds ASCII A-Z and full-width Ａ-Ｚ to their small
// forms and nothing else. Text is UTF-8, so a multi-byte character is compared as one
// character and byte order is code point order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kantoria {

std::string FoldCase(std::string_view text);

// <0, 0 or >0 as a sorts before, with or after b.
int CompareNoCase(std::string_view a, std::string_view b);

bool EqualsNoCase(std::string_view a, std::string_view b);

// The key titles and holder labels are shown in order of: the code page 932 bytes of the folded
// text (Cp932OrderKey), as the Windows program compared them. Compute it once per item and
// sort by the keys' byte order.
std::string DisplayOrderKey(std::string_view text);

// A hash that agrees with EqualsNoCase.
std::uint64_t HashNoCase(std::string_view text);

// Function objects for containers keyed without regard to case.
struct NoCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return HashNoCase(s); }
};
struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return EqualsNoCase(a, b); }
};
struct NoCaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        return CompareNoCase(a, b) < 0;
    }
};

}  // namespace kantoria
