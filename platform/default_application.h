// The desktop's default application for a MIME type (GIO), kept apart from the Qt code:
// GLib's headers and Qt's keywords do not mix in one translation unit.
#pragma once

#include <string>

namespace kantoria {

// The full path of the executable of the default application for mimeType; empty when there
// is none.
std::string DefaultApplicationExecutable(const std::string& mimeType);

}  // namespace kantoria
