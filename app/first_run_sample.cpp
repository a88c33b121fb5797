#include "app/first_run_sample.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "core/ports/settings_store.h"
#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"

namespace kantoria {

std::optional<std::string> FirstRunSample(SettingsStore& settings) {
    if (!settings
             .GetProfileString(LoadString(IDS_SECTION_SETTINGS), LoadString(IDS_VALUE_ZNLPATH), "")
             .empty())
        return std::nullopt;
    // bin/ -> the installation's prefix; a build folder has neither the samples nor the helper
    // (scripts/kantoria-run makes the sample there).
    const QDir prefix(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    const QString samples = prefix.absoluteFilePath(QStringLiteral("share/kantoria/samples"));
    const QString maker =
        prefix.absoluteFilePath(QStringLiteral("libexec/kantoria/kantoria-make-sample"));
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/kantoria-cli");
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!QFileInfo(samples).isDir() || !QFileInfo(maker).isExecutable() || data.isEmpty())
        return std::nullopt;
    const QString folder = data + QStringLiteral("/kantoria");
    const QString catalogue = folder + QStringLiteral("/サンプル.ZNL");
    if (!QFileInfo::exists(catalogue)) {
        // An argument vector, no shell; a few small files, so a short wait at most.
        QProcess make;
        make.start(maker, {cli, samples, folder});
        if (!make.waitForFinished(20000) || make.exitCode() != 0) return std::nullopt;
    }
    if (!QFileInfo::exists(catalogue)) return std::nullopt;
    return PathFromQt(catalogue);
}

}  // namespace kantoria
