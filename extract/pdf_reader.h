// PDF through poppler: every page's text in page order, a page ending a line.
#pragma once

#include <string_view>

#include "extract/extract_result.h"
#include "extract/text_sink.h"

namespace kantoria {

Extracted ReadPdf(std::string_view bytes, TextSink& sink);

}  // namespace kantoria
