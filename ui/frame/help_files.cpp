#include "ui/frame/help_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "platform/qt/qt_text.h"

namespace kantoria {
namespace {

const QString kIndex = QStringLiteral("index.html");
const QString kResourceFolder = QStringLiteral(":/kantoria/help");

QString InstalledIndex() {
    const QString installed = QCoreApplication::applicationDirPath() +
                              QStringLiteral("/../share/kantoria/help/") + kIndex;
    return QFileInfo::exists(installed) ? QFileInfo(installed).canonicalFilePath() : QString();
}

// Copies every help page out of the resources; the copy is refreshed on every call so that it
// never lags behind the program.
QString CopiedIndex() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty()) return {};
    const QString folder = cache + QStringLiteral("/help");
    if (!QDir().mkpath(folder)) return {};
    const QDir pages(kResourceFolder);
    for (const QString& name : pages.entryList(QDir::Files)) {
        const QString target = folder + QLatin1Char('/') + name;
        QFile::remove(target);
        if (!QFile::copy(pages.filePath(name), target)) return {};
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    const QString index = folder + QLatin1Char('/') + kIndex;
    return QFileInfo::exists(index) ? index : QString();
}

}  // namespace

std::string HelpIndexUrl() {
    QString index = InstalledIndex();
    if (index.isEmpty()) index = CopiedIndex();
    if (index.isEmpty()) return {};
    return FromQt(QUrl::fromLocalFile(index).toString());
}

}  // namespace kantoria
