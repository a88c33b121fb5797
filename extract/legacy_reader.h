// The legacy binary formats (.doc, .xls, .ppt) and RTF, read by the converters a system may
// have installed (antiword, catdoc's xls2csv and catppt, unrtf). Without one the format is
// unsupported, not failed.
#pragma once

#include <string>
#include <string_view>

#include "extract/extract_result.h"
#include "extract/text_sink.h"

namespace kantoria {

// Whether extension (lower case, without the dot) is one of the legacy formats.
bool IsLegacyExtension(std::string_view extension);

// Runs the converter for extension on the open file fd (handed to it as its own descriptor,
// so it reads the very file that was checked) and adds its output to sink.
Extracted ReadLegacy(std::string_view extension, int fd, TextSink& sink);

// The full name of an executable called name in a folder of PATH; empty when none.
std::string FindOnPath(std::string_view name);

}  // namespace kantoria
