#include "dialogs/program_icon.h"

#include "platform/file_types.h"
#include "platform/qt_icon_factory.h"

namespace kantoria {

ProgramIconLookup SystemProgramIconLookup(FileTypeRegistry& types) {
    return
        [&types](const std::string& file) { return IconOfProgram(types.AssociatedProgram(file)); };
}

}  // namespace kantoria
