// The text of an HTML page. Real pages are seldom well-formed, so this is a tolerant scanner,
// not a parser: tags and comments are skipped, script and style dropped with their content,
// block elements end lines, entities are decoded and runs of white space become one space.
#pragma once

#include <string>
#include <string_view>

#include "extract/text_sink.h"

namespace kantoria {

// The charset a <meta> near the start of the page names (either form), empty when none.
std::string HtmlMetaCharset(std::string_view bytes);

// The page's bytes as UTF-8: byte-order mark, then <meta>, then detection.
std::string DecodeHtml(std::string_view bytes);

// Adds the text of the page (UTF-8) to sink.
void HtmlText(std::string_view html, TextSink& sink);

}  // namespace kantoria
