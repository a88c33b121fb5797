// Replacing %NAME% in a text by the value of the environment variable NAME, as file-type icon
// paths such as "%SystemRoot%\system32\shell32.dll" need.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kantoria {

// The '%' signs are paired from the left. For each pair, every %NAME% from the pair to the end
// of the text is replaced by the variable's value, or removed when it is not set; a '%' without
// a partner stays. Inserted values are never scanned again, so a value that holds '%' is kept
// as it is, and no pair reaches across one.
// lookup answers a variable's value, or nothing when it is not set.
using VariableLookup = std::function<std::optional<std::string>(std::string_view name)>;
std::string ExpandEnvironment(std::string_view text, const VariableLookup& lookup);

}  // namespace kantoria
