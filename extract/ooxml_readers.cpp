// The Office Open XML formats: a package of XML parts tied together by relationships.
#include <charconv>
#include <map>
#include <pugixml.hpp>
#include <set>
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
    std::map<std::string, std::string, std::less<>> targets;
    for (const Relationship& rel : rels) targets.emplace(rel.id, rel.target);
    std::vector<std::string> parts;
    std::set<std::string, std::less<>> listed;
    for (const pugi::xml_node item : list.children()) {
        for (const pugi::xml_attribute attr : item.attributes()) {
            if (LocalName(attr.name()) != "id" || std::string_view(attr.name()) == "id") continue;
            const auto target = targets.find(std::string_view(attr.value()));
            // A list naming one part many times would read it many times: once is enough.
            if (target != targets.end() && listed.insert(target->second).second)
                parts.push_back(target->second);
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
    const std::vector<Relationship> rels = RelationshipsOf(zip, main);
    // Each part once, however many relationships name it.
    std::set<std::string> walked = {main};
    for (const std::string_view type : {"header", "footer", "footnotes", "endnotes"})
        for (const Relationship& rel : rels)
            if (result.ok() && !sink.Full() && rel.type == type && zip.Has(rel.target) &&
                walked.insert(rel.target).second)
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

ZipDocumentReader ReaderForArchive(ZipReader& zip) {
    if (zip.Has("content.xml")) return ReadOdf;
    // The package names its main part; where it does not, the usual names are tried.
    const std::string main = MainPart(zip, "");
    if (main.starts_with("word/") || zip.Has("word/document.xml")) return ReadDocx;
    if (main.starts_with("xl/") || zip.Has("xl/workbook.xml")) return ReadXlsx;
    if (main.starts_with("ppt/") || zip.Has("ppt/presentation.xml")) return ReadPptx;
    return nullptr;
}

}  // namespace kantoria
