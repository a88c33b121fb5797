// The running text of an office document's XML parts. Elements are matched by local name, so
// whatever prefix a program gave a namespace, the same walk reads it; the walk keeps no stack
// of its own per level, so no nesting depth exhausts it.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "extract/extract_result.h"
#include "extract/text_sink.h"

namespace kantoria {

struct XmlTextRules {
    // Elements whose character data is text; with insideLines, character data anywhere inside
    // a line element is text (OpenDocument's spans and links).
    std::initializer_list<std::string_view> text;
    std::initializer_list<std::string_view> lines;   // elements that begin a new line
    std::initializer_list<std::string_view> tabs;    // elements that stand for a tab
    std::initializer_list<std::string_view> breaks;  // elements that break the line
    std::initializer_list<std::string_view> spaces;  // elements for spaces (count in attr "c")
    bool insideLines = false;
};

// The Office Open XML text runs (word processing, drawing), paragraphs and breaks.
extern const XmlTextRules kOoxmlRules;
// OpenDocument paragraphs and headings with their spans, spaces, tabs and line breaks.
extern const XmlTextRules kOdfRules;

// The name after the namespace prefix.
std::string_view LocalName(const char* name);

// Parses an XML part; fails naming the part when it is not well-formed.
Extracted ParseXml(const std::string& bytes, std::string_view part, pugi::xml_document& doc);

// Adds the text under root to sink by the rules, in document order.
void WalkXmlText(const pugi::xml_node& root, const XmlTextRules& rules, TextSink& sink);

}  // namespace kantoria
