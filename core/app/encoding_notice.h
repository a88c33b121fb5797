// The report after a save that had to write a code page 932 catalogue as UTF-8 with a
// byte-order mark, which the Windows program cannot read: the user learns which entry needed it.
#pragma once

#include <optional>
#include <string>

#include "core/catalogue/morka2_doc.h"

namespace kantoria {

// The text to show after doc's last successful save, or nothing when that save kept the
// catalogue's encoding (or no single entry was to blame).
std::optional<std::string> EncodingSwitchNotice(const CMORKA2Doc& doc);

}  // namespace kantoria
