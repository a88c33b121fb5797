// File-type associations held in memory, filled by code or from a small text table. Keys and
// type names are found without regard to case, as the Windows registry finds them.
//
// Table format, one association per line, fields separated by TAB; empty lines and lines
// starting with '#' are ignored:
//   ext      EXTENSION [TYPENAME]        an extension; without TYPENAME it names no type
//   type     TYPENAME  [DESCRIPTION]     a type; without DESCRIPTION it has none
//   icon     TYPENAME  VALUE             the type's icon value ("file,index")
//   program  EXTENSION PROGRAM           the program that opens files with this extension
// A field that is present but empty counts as an empty value, not as a missing one.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/base/status.h"
#include "core/ports/file_types.h"
#include "core/text/text_fold.h"

namespace kantoria {

class MemoryFileTypes final : public FileTypeRegistry {
  public:
    void AddExtension(std::string extension, std::optional<std::string> typeName);
    void AddType(std::string typeName, std::optional<std::string> description);
    void SetDefaultIcon(std::string_view typeName, std::string value);
    void SetProgram(std::string extension, std::string program);

    // Adds the associations of a table; on a malformed line says which and keeps what came
    // before it.
    Status AddTable(std::string_view table);
    Status LoadTable(const std::string& path);

    std::vector<ExtensionType> Extensions() override;
    std::optional<std::string> TypeNameOf(std::string_view key) override;
    std::optional<std::string> Description(std::string_view typeName) override;
    std::optional<std::string> DefaultIcon(std::string_view typeName) override;
    // The program of the path's extension; the file itself is not looked at.
    std::string AssociatedProgram(std::string_view path) override;

  private:
    struct Type {
        std::optional<std::string> description;
        std::optional<std::string> defaultIcon;
    };
    template <class Value>
    using NoCaseMap = std::unordered_map<std::string, Value, NoCaseHash, NoCaseEqual>;

    Status AddLine(const std::vector<std::string_view>& fields);

    std::vector<std::string> order_;  // extensions in the order they were added
    NoCaseMap<std::optional<std::string>> extensions_;
    NoCaseMap<Type> types_;
    NoCaseMap<std::string> programs_;
};

}  // namespace kantoria
