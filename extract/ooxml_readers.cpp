// The Office Open XML formats: a package of XML parts tied together by relationships.
#include <charconv>
#include <pugixml.hpp>
#include <vector>

#include "extract/office_readers.h"
#include "extract/ooxml_parts.h"
#include "extract/xml_text.h"

namespace kantoria {
namespace {

// Reads part and adds its text by the rules.
Extracted WalkPart(ZipReader& zip, const std::string& part, TextSink& sink,
                   const XmlTextRules& rules = kOoxmlRules) {
    std::string bytes;
    pugi::xml_document doc;
    Extracted result = zip.Read(part, bytes);
    if (result.ok()) result = ParseXml(bytes, part, doc);
    if (result.ok()) WalkXmlText(doc, rules, sink);
    return result;
}

// The text of a string item: its own text or its runs' (not the phonetic readings).
std::string ItemText(const pugi::xml_node& item) {
    std::string text;
    for (const pugi::xml_node child : item.children()) {
        const std::string_view name = LocalName(child.name());
        if (name == "t") text += child.text().get();
        if (name == "r")
            for (const pugi::xml_node t : child.children())
                if (LocalName(t.name()) == "t") text += t.text().get();
    }
    return text;
}

pugi::xml_node ChildNamed(const pugi::xml_node& node, std::string_view local) {
    for (const pugi::xml_node child : node.children())
        if (LocalName(child.name()) == local) return child;
    return {};
}

Extracted SharedStrings(ZipReader& zip, const std::string& workbook,
                        std::vector<std::string>& strings) {
    std::string part = "xl/sharedStrings.xml";
    for (const Relationship& rel : RelationshipsOf(zip, workbook))
        if (rel.type == "sharedStrings") part = rel.target;
    if (!zip.Has(part)) return Extracted::Fine();
    std::string bytes;
    pugi::xml_document doc;
    Extracted result = zip.Read(part, bytes);
    if (result.ok()) result = ParseXml(bytes, part, doc);
    if (!result.ok()) return result;
    for (const pugi::xml_node item : doc.document_element().children())
        if (LocalName(item.name()) == "si") strings.push_back(ItemText(item));
    return result;
}

std::string CellText(const pugi::xml_node& cell, const std::vector<std::string>& strings) {
    const std::string_view type = cell.attribute("t").value();
    if (type == "inlineStr") return ItemText(ChildNamed(cell, "is"));
    const std::string_view value = ChildNamed(cell, "v").text().get();
    if (type != "s") return std::string(value);
    size_t index = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), index);
    return error == std::errc() && index < strings.size() ? strings[index] : std::string();
}

Extracted SheetText(ZipReader& zip, const std::string& part,
                    const std::vector<std::string>& strings, TextSink& sink) {
    std::string bytes;
    pugi::xml_document doc;
    Extracted result = zip.Read(part, bytes);
    if (result.ok()) result = ParseXml(bytes, part, doc);
    if (!result.ok()) return result;
    for (const pugi::xml_node row : ChildNamed(doc.document_element(), "sheetData").children()) {
        for (const pugi::xml_node cell : row.children()) {
            if (LocalName(cell.name()) != "c") continue;
            const std::string text = CellText(cell, strings);
            if (text.empty()) continue;
            if (!sink.AtLineStart()) sink.Add("\t");
            sink.Add(text);
        }
        sink.EndLine();
    }
    return result;
}

// The targets of the relationships that the list's items name by r:id, in the list's order.
std::vector<std::string> ListedParts(ZipReader& zip, const std::string& part,
                                     const pugi::xml_node& list) {
    const std::vector<Relationship> rels = RelationshipsOf(zip, part);
    std::vector<std::string> parts;
    for (const pugi::xml_node item : list.children()) {
        for (const pugi::xml_attribute attr : item.attributes()) {
            if (LocalName(attr.name()) != "id" || std::string_view(attr.name()) == "id") continue;
            for (const Relationship& rel : rels)
                if (rel.id == attr.value()) parts.push_back(rel.target);
        }
    }
    return parts;
}

Extracted ListOf(ZipReader& zip, const std::string& part, std::string_view listName,
                 std::vector<std::string>& parts) {
    std::string bytes;
    pugi::xml_document doc;
    Extracted result = zip.Read(part, bytes);
    if (result.ok()) result = ParseXml(bytes, part, doc);
    if (result.ok()) parts = ListedParts(zip, part, ChildNamed(doc.document_element(), listName));
    return result;
}

}  // namespace

Extracted ReadDocx(ZipReader& zip, TextSink& sink) {
    const std::string main = MainPart(zip, "word/document.xml");
    Extracted result = WalkPart(zip, main, sink);
    for (const std::string_view type : {"header", "footer", "footnotes", "endnotes"})
        for (const Relationship& rel : RelationshipsOf(zip, main))
            if (result.ok() && !sink.Full() && rel.type == type && zip.Has(rel.target))
                result = WalkPart(zip, rel.target, sink);
    return result;
}

Extracted ReadXlsx(ZipReader& zip, TextSink& sink) {
    const std::string workbook = MainPart(zip, "xl/workbook.xml");
    std::vector<std::string> strings, sheets;
    Extracted result = SharedStrings(zip, workbook, strings);
    if (result.ok()) result = ListOf(zip, workbook, "sheets", sheets);
    for (const std::string& sheet : sheets)
        if (result.ok() && !sink.Full() && zip.Has(sheet))
            result = SheetText(zip, sheet, strings, sink);
    return result;
}

Extracted ReadPptx(ZipReader& zip, TextSink& sink) {
    const std::string presentation = MainPart(zip, "ppt/presentation.xml");
    std::vector<std::string> slides;
    Extracted result = ListOf(zip, presentation, "sldIdLst", slides);
    for (const std::string& slide : slides) {
        if (!result.ok() || sink.Full() || !zip.Has(slide)) continue;
        result = WalkPart(zip, slide, sink);
        for (const Relationship& rel : RelationshipsOf(zip, slide))
            if (result.ok() && rel.type == "notesSlide" && zip.Has(rel.target))
                result = WalkPart(zip, rel.target, sink);
    }
    return result;
}

}  // namespace kantoria
