// The question before a save that must write a code page 932 catalogue as UTF-8 with a
// byte-order mark, which the Windows program cannot read, and the report after one made
// without asking: the user learns which text needs it.
#pragma once

#include <optional>
#include <string>

#include "core/catalogue/catalogue.h"

namespace kantoria {

// The text to show after doc's last successful save, or nothing when that save kept the
// catalogue's encoding (or no single entry was to blame).
std::optional<std::string> EncodingSwitchNotice(const Catalogue& doc);

// The question before such a save: the text that needs UTF-8 and how many entries hold bytes
// that will become U+FFFD.
std::string EncodingSwitchQuestion(const EncodingSwitch& change);

}  // namespace kantoria
