#include "app/desktop_shell.h"

#include <QDesktopServices>
#include <QUrl>

#include "app/qt_text.h"

namespace kantoria {

bool QtDesktopShell::OpenUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(ToQt(url)));
}

}  // namespace kantoria
