#include "cli/types_command.h"

#include "core/search/extension_list.h"
#include "platform/system_file_types.h"

namespace kantoria::cli {

void PrintExtensionBox(FileTypeRegistry& types, std::ostream& out) {
    const ExtensionBox box = FillExtensionList(types);
    for (std::size_t i = 0; i < box.lines.size(); ++i)
        out << (box.selected == i ? "* " : "  ") << box.lines[i] << "\n";
}

int RunTypes(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "kantoria-cli: types takes no arguments (see kantoria-cli --help)\n";
        return 2;
    }
    const std::unique_ptr<FileTypeRegistry> types = MakeSystemFileTypes();
    PrintExtensionBox(*types, out);
    return 0;
}

}  // namespace kantoria::cli
