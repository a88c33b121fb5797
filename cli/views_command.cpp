#include "cli/views_command.h"

#include <nlohmann/json.hpp>
#include <optional>

#include "core/catalogue/morka2_doc.h"
#include "core/text/text_codec.h"
#include "core/views/entry_list_logic.h"
#include "core/views/holder_tree_logic.h"
#include "core/views/shown_holder.h"

namespace kantoria::cli {
namespace {

using Json = nlohmann::ordered_json;

int Usage(std::ostream& err, const std::string& what) {
    err << "kantoria-cli: " << what << " (see kantoria-cli --help)\n";
    return 2;
}

bool LoadWithHolders(CMORKA2Doc& doc, const std::string& path, std::ostream& err) {
    const Status status = doc.LoadCatalogue(path);
    if (!status) {
        err << "kantoria-cli: cannot read " << path << ": " << status.reason() << "\n";
        return false;
    }
    doc.RebuildHolders();
    return true;
}

std::string Quoted(const std::string& text, Encoding enc) {
    return Json(ToDisplayText(text, enc)).dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Writes the tree as compact JSON with a stack of its own: a tree may be as deep as a path is
// long, which neither the C++ stack nor indentation (whose size grows with the square of the
// depth) would bear.
void WriteTree(const HolderTree& tree, Encoding enc, std::ostream& out) {
    struct Level {
        const std::vector<int>* nodes;
        std::size_t next;
    };
    std::vector<Level> stack{{&tree.roots(), 0}};
    out << '[';
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.nodes->size()) {
            stack.pop_back();
            out << (stack.empty() ? "]" : "]}");
            continue;
        }
        if (level.next > 0) out << ',';
        const HolderNode& node = tree.node((*level.nodes)[level.next++]);
        out << R"({"label":)" << Quoted(node.label, enc) << R"(,"folder":)"
            << Quoted(node.folder, enc) << R"(,"children":[)";
        stack.push_back({&node.children, 0});
    }
    out << '\n';
}

void Print(const Json& json, std::ostream& out) {
    out << json.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

}  // namespace

int TreeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) return Usage(err, "tree takes one catalogue");
    CMORKA2Doc doc;
    if (!LoadWithHolders(doc, args[0], err)) return 1;
    const HolderTree tree = HolderTree::Build(doc.m_HolderList);
    WriteTree(tree, doc.m_encoding, out);
    return 0;
}

int ListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::optional<std::string> catalogue, labelPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--holder") {
            if (++i == args.size()) return Usage(err, "--holder needs a label path");
            labelPath = args[i];
        } else if (args[i].rfind("--", 0) == 0) {
            return Usage(err, "unknown option '" + args[i] + "'");
        } else if (catalogue) {
            return Usage(err, "list takes one catalogue");
        } else {
            catalogue = args[i];
        }
    }
    if (!catalogue) return Usage(err, "list takes one catalogue");
    CMORKA2Doc doc;
    if (!LoadWithHolders(doc, *catalogue, err)) return 1;
    if (labelPath) doc.m_strLastHolder = *labelPath;

    const HolderTree tree = HolderTree::Build(doc.m_HolderList);
    const int shown = ShownHolder(tree, doc);
    Json json;
    json["holder"] = shown == kNoHolderNode
                         ? Json(nullptr)
                         : Json(ToDisplayText(tree.node(shown).folder, doc.m_encoding));
    Json entries = Json::array();
    if (shown != kNoHolderNode) {
        for (const POSITION e : EntriesOfFolder(doc.m_EntryList, tree.node(shown).folder)) {
            const Encoding enc = doc.m_encoding;
            entries.push_back({{"title", ToDisplayText(e->m_strTitle, enc)},
                               {"comment", ToDisplayText(CommentColumnText(e->m_strComment), enc)},
                               {"path", ToDisplayText(e->m_strPath, enc)}});
        }
    }
    json["entries"] = std::move(entries);
    Print(json, out);
    return 0;
}

}  // namespace kantoria::cli
