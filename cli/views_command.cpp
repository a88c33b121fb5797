#include "cli/views_command.h"

#include <optional>

#include "cli/json_writer.h"
#include "core/catalogue/catalogue.h"
#include "core/text/text_codec.h"
#include "core/views/entry_list_logic.h"
#include "core/views/holder_tree_logic.h"
#include "core/views/shown_holder.h"
#include "core/views/shown_tree.h"

namespace kantoria::cli {
namespace {

int Usage(std::ostream& err, const std::string& what) {
    err << "kantoria-cli: " << what << " (see kantoria-cli --help)\n";
    return 2;
}

bool LoadWithHolders(Catalogue& doc, const std::string& path, std::ostream& err) {
    const Status status = doc.LoadCatalogue(path);
    if (!status) {
        err << "kantoria-cli: cannot read " << path << ": " << status.reason() << "\n";
        return false;
    }
    doc.RebuildHolders();
    return true;
}

// Writes the tree as compact JSON with a stack of its own: a tree may be as deep as a path is
// long, which neither the C++ stack nor indentation (whose size grows with the square of the
// depth) would bear.
void WriteTree(const ShownTree& tree, Encoding enc, std::ostream& out) {
    struct Level {
        const std::vector<int>* nodes;
        std::size_t next;
    };
    std::vector<Level> stack{{&tree.roots(), 0}};
    std::string text = "[";
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.nodes->size()) {
            stack.pop_back();
            text += stack.empty() ? "]" : "]}";
            continue;
        }
        if (level.next > 0) text += ',';
        const ShownNode& node = tree.node((*level.nodes)[level.next++]);
        text += R"({"label":)";
        AppendJsonString(text, ToDisplayText(node.label, enc));
        text += R"(,"folder":)";
        AppendJsonString(text, ToDisplayText(node.folder, enc));
        if (node.holder == kNoHolderNode) text += R"(,"holder":false)";
        text += R"(,"children":[)";
        stack.push_back({&node.children, 0});
        if (text.size() >= 1 << 16) {
            out << text;
            text.clear();
        }
    }
    out << text << '\n';
}

}  // namespace

int TreeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const bool folders = !args.empty() && args.front() == "--folders";
    if (args.size() != (folders ? 2u : 1u))
        return Usage(err, "tree takes one catalogue, after --folders if wanted");
    Catalogue doc;
    if (!LoadWithHolders(doc, args.back(), err)) return 1;
    WriteTree(ShownTree::Build(HolderTree::Build(doc.Holders()), folders), doc.FileEncoding(), out);
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
    Catalogue doc;
    if (!LoadWithHolders(doc, *catalogue, err)) return 1;
    if (labelPath) doc.SetLastHolder(*labelPath);

    const HolderTree tree = HolderTree::Build(doc.Holders());
    const int shown = ShownHolder(tree, doc);
    JsonWriter json(out);
    json.BeginObject();
    json.Key("holder");
    if (shown == kNoHolderNode)
        json.Null();
    else
        json.String(ToDisplayText(tree.node(shown).folder, doc.FileEncoding()));
    json.Key("entries");
    json.BeginArray();
    if (shown != kNoHolderNode) {
        for (const EntryRef e : EntriesOfFolder(doc.Entries(), tree.node(shown).folder)) {
            const Encoding enc = doc.FileEncoding();
            json.BeginObject();
            json.Key("title");
            json.String(ToDisplayText(e->Title(), enc));
            json.Key("comment");
            json.String(ToDisplayText(CommentColumnText(e->Comment()), enc));
            json.Key("path");
            json.String(ToDisplayText(e->Path(), enc));
            json.EndObject();
        }
    }
    json.EndArray();
    json.EndObject();
    return 0;
}

}  // namespace kantoria::cli
