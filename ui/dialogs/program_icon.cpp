#include "ui/dialogs/program_icon.h"

#include "core/ports/file_types.h"
#include "platform/qt/qt_icon_factory.h"

namespace kantoria {

ProgramIconLookup SystemProgramIconLookup(FileTypeRegistry& types) {
    return
        [&types](const std::string& file) { return IconOfProgram(types.AssociatedProgram(file)); };
}

}  // namespace kantoria
