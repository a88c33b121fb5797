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

Json Items(const HolderTree& tree, const std::vector<int>& nodes, Encoding enc) {
    Json items = Json::array();
    for (const int index : nodes) {
        const HolderNode& node = tree.node(index);
        items.push_back({{"label", ToDisplayText(node.label, enc)},
                         {"folder", ToDisplayText(node.folder, enc)},
                         {"children", Items(tree, node.children, enc)}});
    }
    return items;
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
    Print(Items(tree, tree.roots(), doc.m_encoding), out);
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
