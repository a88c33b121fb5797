#include "dialogs/program_icon.h"

#include <QDir>
#include <QFileInfo>

#include "platform/default_application.h"
#include "platform/file_types.h"

namespace kantoria {

QIcon IconOfProgram(const std::string& program) {
    if (program.empty()) return {};
    const QString name = QString::fromStdString(ApplicationIconName(program));
    if (name.isEmpty()) return {};
    if (QDir::isAbsolutePath(name)) return QFileInfo::exists(name) ? QIcon(name) : QIcon();
    return QIcon::fromTheme(name);
}

ProgramIconLookup SystemProgramIconLookup(FileTypeRegistry& types) {
    return
        [&types](const std::string& file) { return IconOfProgram(types.AssociatedProgram(file)); };
}

}  // namespace kantoria
