// One document to UTF-8 text: the format by the file's extension, else by its first bytes.
#pragma once

#include <string>
#include <string_view>

#include "extract/extract_result.h"
#include "extract/text_sink.h"

namespace kantoria {

enum class DocKind { Pdf, Zip, Html, Text, Legacy, Unknown };

// The kind a file name's extension promises (case does not matter).
DocKind KindOfName(std::string_view name);
// The extension of name in lower case, without the dot; empty when none.
std::string LowerExtension(std::string_view name);

// The text of a document held in bytes. fd, when not -1, is the open file, for converters.
Extracted ExtractBytes(std::string_view name, std::string_view bytes, const ExtractLimits& limits,
                       TextSink& sink, int fd = -1);

// The text of the file at path; NotRegular and Changed as the file warrants.
Extracted ExtractFile(const std::string& path, const ExtractLimits& limits, TextSink& sink);

}  // namespace kantoria
