#include "platform/qt/windows_registrar.h"

#include <QCoreApplication>
#include <utility>

#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"

#ifdef _WIN32
#include <shlobj.h>
#endif

namespace kantoria {

namespace {

// The registry holds Windows paths, whichever way the program's own path was written.
QString WindowsPath(QString path) {
    return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

}  // namespace

QString WindowsOpenCommand(const QString& program) {
    return QStringLiteral("\"%1\" \"%2\"").arg(WindowsPath(program), QStringLiteral("%1"));
}

int WriteWindowsFileType(QSettings& classes, const QString& program) {
    const QString type = ToQt(TemplateField(DocField::RegFileTypeId));
    const QString native = WindowsPath(program);
    const std::pair<QString, QString> values[] = {
        {ToQt(TemplateField(DocField::FilterExt)) + QStringLiteral("/."), type},
        {type + QStringLiteral("/."), ToQt(TemplateField(DocField::RegFileTypeName))},
        {type + QStringLiteral("/DefaultIcon/."), QStringLiteral("\"%1\",0").arg(native)},
        {type + QStringLiteral("/shell/open/command/."), WindowsOpenCommand(program)},
    };
    int written = 0;
    for (const auto& [key, value] : values) {
        if (classes.value(key).toString() == value) continue;
        classes.setValue(key, value);
        ++written;
    }
    classes.sync();
    return written;
}

void WindowsRegistrar::RegisterShellFileTypes() {
    QSettings classes(QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"),
                      QSettings::NativeFormat);
    const int written = WriteWindowsFileType(classes, QCoreApplication::applicationFilePath());
#ifdef _WIN32
    // Explorer shows the new icon and command without a new logon.
    if (written > 0) ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
#else
    (void)written;
#endif
}

}  // namespace kantoria
