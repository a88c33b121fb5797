#include "platform/qt/freedesktop_registrar.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"

namespace kantoria {
namespace {

QString MimePackage() {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"%1\">\n"
               "    <comment>%2</comment>\n"
               "    <glob pattern=\"*.ZNL\"/>\n"
               "    <glob pattern=\"*.znl\"/>\n"
               "  </mime-type>\n"
               "</mime-info>\n")
        .arg(QLatin1String(kCatalogueMimeType), ToQt(TemplateField(DocField::RegFileTypeName)));
}

QString DesktopEntry(const QString& program) {
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=%1\n"
               "Comment=%2\n"
               "Exec=%3\n"
               "Icon=kantoria\n"
               "MimeType=%4;\n"
               "Terminal=false\n"
               "Categories=Office;\n")
        .arg(ToQt(LoadString(IDS_PRODUCT_TITLE)), ToQt(TemplateField(DocField::FilterName)),
             DesktopExecLine(program), QLatin1String(kCatalogueMimeType));
}

// True when the file was written.
bool WriteIfDifferent(const QString& path, const QByteArray& bytes) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) return false;
    existing.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(bytes);
    return file.commit();
}

}  // namespace

QString DesktopExecLine(const QString& program) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    for (const QChar c : program) quote = quote || kReserved.contains(c);
    QString line = program;
    if (quote) {
        QString escaped;
        for (const QChar c : program) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                escaped += QLatin1Char('\\');
            escaped += c;
        }
        line = QLatin1Char('"') + escaped + QLatin1Char('"');
    }
    // Inside a desktop entry a backslash itself is escaped once more, and '%' is doubled.
    line.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    line.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return line + QStringLiteral(" %f");
}

int WriteFileTypeRegistration(const QString& dataHome, const QString& program,
                              const QByteArray& iconPng) {
    int written = 0;
    if (WriteIfDifferent(dataHome + QStringLiteral("/mime/packages/kantoria.xml"),
                         MimePackage().toUtf8()))
        ++written;
    if (WriteIfDifferent(dataHome + QStringLiteral("/applications/kantoria.desktop"),
                         DesktopEntry(program).toUtf8()))
        ++written;
    if (WriteIfDifferent(dataHome + QStringLiteral("/icons/hicolor/32x32/apps/kantoria.png"),
                         iconPng))
        ++written;
    return written;
}

void FreedesktopRegistrar::RegisterShellFileTypes() {
    // An installed program is registered by its package's own desktop entry and MIME package;
    // copies in the user's home would outlive its removal. Only a program run from the CMake
    // build folder it was made in registers itself for the user.
    const QString programDir = QCoreApplication::applicationDirPath();
    if (!QFileInfo::exists(programDir + QStringLiteral("/CMakeCache.txt"))) return;
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty()) return;
    if (WriteFileTypeRegistration(dataHome, QCoreApplication::applicationFilePath(), iconPng_()) ==
        0)
        return;
    // The desktop reads the caches, not the files: rebuild them, and never wait for it.
    QProcess::startDetached(QStringLiteral("update-mime-database"),
                            {dataHome + QStringLiteral("/mime")});
    QProcess::startDetached(QStringLiteral("update-desktop-database"),
                            {dataHome + QStringLiteral("/applications")});
}

}  // namespace kantoria
