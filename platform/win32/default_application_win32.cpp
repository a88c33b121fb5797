// Windows names a file type's program and icon in its registry entry (file_types_win32.cpp);
// there is no MIME type to ask about, so the file-type pictures take no program's icon here.
#include "platform/freedesktop/default_application.h"

namespace kantoria {

std::string DefaultApplicationExecutable(const std::string& /*mimeType*/) {
    return {};
}

std::string ApplicationIconName(const std::string& /*program*/) {
    return {};
}

}  // namespace kantoria
