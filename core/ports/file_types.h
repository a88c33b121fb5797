// What the program needs from the system's file-type associations: which extensions exist and
// the type each names, a type's description and icon, and the program that opens a file.
// Windows answers from its registry, Linux from the shared MIME database; tests use an
// in-memory table.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kantoria {

struct ExtensionType {
    std::string extension;  // with its leading '.', as the system spells it
    std::string typeName;   // the type the extension names; empty when it names none
};

// Lookups are not const: an implementation may remember answers for the rest of the run.
class FileTypeRegistry {
  public:
    virtual ~FileTypeRegistry() = default;

    // Every extension the system knows, in the system's own order.
    virtual std::vector<ExtensionType> Extensions() = 0;
    // The type that a key (normally an extension such as ".txt") names; nothing when the key
    // is unknown or names no type.
    virtual std::optional<std::string> TypeNameOf(std::string_view key) = 0;
    // The type's description for people; nothing when the type is unknown or has none.
    virtual std::optional<std::string> Description(std::string_view typeName) = 0;
    // The type's icon as "file[,index]"; nothing when the type is unknown or names no icon.
    virtual std::optional<std::string> DefaultIcon(std::string_view typeName) = 0;
    // The program that opens the file at path; empty when there is none or the file does not
    // exist.
    virtual std::string AssociatedProgram(std::string_view path) = 0;
};

}  // namespace kantoria
