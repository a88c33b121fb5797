// The picture of the program that opens a file, as the entry and properties dialogs show it.
#pragma once

#include <QIcon>

#include <functional>
#include <string>

namespace kantoria {

class FileTypeRegistry;

// Gives the icon of the program associated with a file (program text path); a null icon when
// there is none. Dialogs take one so that tests decide what the system would answer.
using ProgramIconLookup = std::function<QIcon(const std::string& file)>;

// A lookup that asks types for the file's program; types must outlive the lookup.
ProgramIconLookup SystemProgramIconLookup(FileTypeRegistry& types);

}  // namespace kantoria
