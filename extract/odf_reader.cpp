// OpenDocument: the text lives in content.xml; meta.xml, when there, adds what the author
// said the document is.
#include <pugixml.hpp>

#include "extract/office_readers.h"
#include "extract/xml_text.h"

namespace kantoria {
namespace {

const XmlTextRules kMetaRules = {
    .text = {"title", "subject", "description", "keyword"},
    .lines = {"title", "subject", "description", "keyword"},
    .tabs = {},
    .breaks = {},
    .spaces = {},
};

}  // namespace

Extracted ReadOdf(ZipReader& zip, TextSink& sink) {
    for (const char* part : {"content.xml", "meta.xml"}) {
        if (sink.Full()) break;
        const bool required = std::string_view(part) == "content.xml";
        if (!required && !zip.Has(part)) continue;
        std::string bytes;
        pugi::xml_document doc;
        Extracted result = zip.Read(part, bytes);
        if (result.ok()) result = ParseXml(bytes, part, doc);
        // A damaged meta.xml costs only its few words.
        if (!result.ok() && required) return result;
        if (result.ok()) WalkXmlText(doc, required ? kOdfRules : kMetaRules, sink);
    }
    return Extracted::Fine();
}

}  // namespace kantoria
