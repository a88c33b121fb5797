// The desktop's default application for a MIME type (GIO), kept apart from the Qt code:
// GLib's headers and Qt's keywords do not mix in one translation unit.
#pragma once

#include <string>

namespace kantoria {

// The full path of the executable of the default application for mimeType; empty when there
// is none.
std::string DefaultApplicationExecutable(const std::string& mimeType);

// The icon of the installed application whose executable is program (a full path, as
// DefaultApplicationExecutable gives it): a themed icon name or an image file's path; empty
// when no installed application runs that program or it names no icon.
std::string ApplicationIconName(const std::string& program);

}  // namespace kantoria
