#include "core/views/document_words.h"

namespace kantoria {

std::string DocumentPath(std::string_view entryPath, Encoding enc) {
    return ToSystemName(FileSystemText(entryPath, enc));
}

}  // namespace kantoria
