#include "extract/ooxml_parts.h"

#include <pugixml.hpp>

#include "extract/xml_text.h"

namespace kantoria {
namespace {

std::string RelsName(const std::string& part) {
    const size_t slash = part.rfind('/');
    if (slash == std::string::npos) return "_rels/" + part + ".rels";
    return part.substr(0, slash + 1) + "_rels/" + part.substr(slash + 1) + ".rels";
}

}  // namespace

std::string ResolveTarget(std::string_view part, std::string_view target) {
    std::vector<std::string> segments;
    if (!target.starts_with('/')) {
        const size_t slash = part.rfind('/');
        const std::string_view folder =
            slash == std::string_view::npos ? std::string_view() : part.substr(0, slash);
        size_t start = 0;
        while (start < folder.size()) {
            const size_t end = std::min(folder.find('/', start), folder.size());
            if (end > start) segments.emplace_back(folder.substr(start, end - start));
            start = end + 1;
        }
    }
    size_t start = 0;
    while (start <= target.size()) {
        const size_t end = std::min(target.find('/', start), target.size());
        const std::string_view segment = target.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.emplace_back(segment);
        }
        start = end + 1;
    }
    std::string name;
    for (const std::string& segment : segments) name += (name.empty() ? "" : "/") + segment;
    return name;
}

std::vector<Relationship> RelationshipsOf(ZipReader& zip, const std::string& part) {
    std::vector<Relationship> found;
    const std::string rels = part.empty() ? "_rels/.rels" : RelsName(part);
    std::string bytes;
    pugi::xml_document doc;
    if (!zip.Has(rels) || !zip.Read(rels, bytes).ok() || !ParseXml(bytes, rels, doc).ok())
        return found;
    for (const pugi::xml_node node : doc.document_element().children()) {
        if (LocalName(node.name()) != "Relationship" ||
            std::string_view(node.attribute("TargetMode").value()) == "External")
            continue;
        const std::string_view type = node.attribute("Type").value();
        found.push_back({node.attribute("Id").value(),
                         std::string(type.substr(type.rfind('/') + 1)),
                         ResolveTarget(part, node.attribute("Target").value())});
    }
    return found;
}

std::string MainPart(ZipReader& zip, const std::string& fallback) {
    for (const Relationship& rel : RelationshipsOf(zip, ""))
        if (rel.type == "officeDocument" && zip.Has(rel.target)) return rel.target;
    return fallback;
}

}  // namespace kantoria
