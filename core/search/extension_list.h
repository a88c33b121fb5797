// The extension box of the automatic search: one line per file type that has a description,
// sorted as a sorted combo box sorts, with the ".doc" line chosen when the dialog opens.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ports/file_types.h"

namespace kantoria {

struct ExtensionBox {
    std::vector<std::string> lines;       // in the order the box shows them
    std::optional<std::size_t> selected;  // the line chosen at opening, if any
};

// "%-5s %s": the extension padded with blanks to at least five characters, a blank, the
// description.
std::string FormatExtensionLine(std::string_view extension, std::string_view description);

// The first line, searching from the one after `after` and wrapping round so that `after`
// comes last, whose text begins with prefix without regard to case; nothing when none does
// (or the box is empty).
std::optional<std::size_t> FindLineStartingWith(const std::vector<std::string>& lines,
                                                std::size_t after, std::string_view prefix);

// The box's lines for every extension whose type has a description, sorted without regard to
// case, with the ".doc" line selected.
ExtensionBox FillExtensionList(FileTypeRegistry& types);

// The extension a line stands for: its text up to the first blank.
std::string_view ExtensionOfLine(std::string_view line);

// The extension that the text of the box's field names, with its leading dot: a line of the
// box as it stands, or an extension typed with or without its dot (".zzz", "zzz") or as the
// pattern "*.zzz". Blanks around the text do not count, and the first word decides, as for a
// line. Nothing when the text names no single extension a file name can end with: an empty or
// blank field, "*", "*.*", or a name with a second dot (".tar.gz").
std::optional<std::string> ExtensionOfBoxText(std::string_view text);

}  // namespace kantoria
