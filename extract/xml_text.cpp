#include "extract/xml_text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kantoria {
namespace {

constexpr int kMostSpaces = 64;

bool Among(std::initializer_list<std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

class TextWalker final : public pugi::xml_tree_walker {
  public:
    TextWalker(const XmlTextRules& rules, TextSink& sink) : rules_(rules), sink_(sink) {}

    bool for_each(pugi::xml_node& node) override {
        if (sink_.Full()) return false;
        // Leaving the line element: a node at or above its depth is outside it.
        if (lineDepth_ >= 0 && depth() <= lineDepth_) lineDepth_ = -1;
        if (node.type() == pugi::node_element) {
            Element(node);
        } else if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            const std::string_view parent = LocalName(node.parent().name());
            if (Among(rules_.text, parent) || (rules_.insideLines && lineDepth_ >= 0))
                sink_.Add(node.value());
        }
        return true;
    }

  private:
    void Element(const pugi::xml_node& node) {
        const std::string_view name = LocalName(node.name());
        if (Among(rules_.lines, name)) {
            sink_.EndLine();
            lineDepth_ = depth();
        } else if (Among(rules_.tabs, name)) {
            sink_.Add("\t");
        } else if (Among(rules_.breaks, name)) {
            sink_.EndLine();
        } else if (Among(rules_.spaces, name)) {
            const int count = std::clamp(node.attribute("text:c").as_int(1), 1, kMostSpaces);
            sink_.Add(std::string(static_cast<size_t>(count), ' '));
        }
    }

    const XmlTextRules& rules_;
    TextSink& sink_;
    int lineDepth_ = -1;
};

}  // namespace

const XmlTextRules kOoxmlRules = {
    .text = {"t"},
    .lines = {"p"},
    .tabs = {"tab"},
    .breaks = {"br", "cr"},
    .spaces = {},
};

const XmlTextRules kOdfRules = {
    .text = {},
    .lines = {"p", "h"},
    .tabs = {"tab"},
    .breaks = {"line-break"},
    .spaces = {"s"},
    .insideLines = true,
};

std::string_view LocalName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return colon ? std::string_view(colon + 1) : std::string_view(name);
}

Extracted ParseXml(const std::string& bytes, std::string_view part, pugi::xml_document& doc) {
    // Whitespace-only runs are kept: a run of one space between two words is text.
    const pugi::xml_parse_result parsed =
        doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata);
    if (!parsed) return Extracted::Fail("damaged XML in " + std::string(part));
    return Extracted::Fine();
}

void WalkXmlText(const pugi::xml_node& root, const XmlTextRules& rules, TextSink& sink) {
    TextWalker walker(rules, sink);
    pugi::xml_node start = root;
    start.traverse(walker);
    sink.EndLine();
}

}  // namespace kantoria
