#include "core/views/shown_tree.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/text/path_identity.h"
#include "core/text/path_split.h"
#include "core/text/text_fold.h"

namespace kantoria {
namespace {

// The folders of the top-level holders as a tree of single folders, before runs are joined.
struct FolderStep {
    std::size_t end = 0;        // the step's folder string is folder->substr(0, end)
    const std::string* folder;  // the first holder's folder string that passes here
    int holder = kNoHolderNode;
    std::vector<int> steps;
};

// The lengths of folder's leading folder strings, each up to and including a separator; a
// folder string without a closing separator ends one more.
std::vector<std::size_t> FolderEnds(const std::string& folder) {
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < folder.size(); ++i)
        if (IsSeparatorIn(folder, folder[i])) ends.push_back(i + 1);
    if (!folder.empty() && !IsSeparatorIn(folder, folder.back())) ends.push_back(folder.size());
    return ends;
}

class Builder {
  public:
    Builder(std::vector<ShownNode>& nodes, std::vector<int>& roots, const HolderTree& holders)
        : nodes_(nodes), roots_(roots), holders_(holders) {
        steps_.push_back({});  // above every folder
    }

    // Each folder is looked up by its parent step and its own name, so that the work grows
    // with the length of the folder string however deep it is.
    void Add(int holder) {
        const std::string& folder = holders_.node(holder).folder;
        const bool exact = IsCaseSensitivePath(folder);
        int at = 0;
        std::size_t begin = 0;
        for (const std::size_t end : FolderEnds(folder)) {
            const std::string_view name = std::string_view(folder).substr(begin, end - begin);
            std::string key = std::to_string(at) + '\x01';
            key += exact ? std::string(name) : FoldCase(name);
            if (IsSeparatorIn(folder, key.back())) key.back() = '\\';
            const auto [found, added] = index_.try_emplace(std::move(key), 0);
            if (added) {
                found->second = static_cast<int>(steps_.size());
                steps_.push_back({end, &folder, kNoHolderNode, {}});
                steps_[static_cast<std::size_t>(at)].steps.push_back(found->second);
            }
            at = found->second;
            begin = end;
        }
        if (at == 0) {  // no folder to hang under
            steps_[0].steps.push_back(static_cast<int>(steps_.size()));
            steps_.push_back({0, &folder, holder, {}});
        } else {
            steps_[static_cast<std::size_t>(at)].holder = holder;
        }
    }

    // Without recursion: a hostile catalogue may nest thousands of folders.
    void Emit() {
        struct Work {
            int step;
            std::size_t start;  // where the step's run of folders begins in its folder string
            int parent;
        };
        std::vector<Work> work;
        for (const int step : steps_[0].steps) work.push_back({step, 0, kNoHolderNode});
        while (!work.empty()) {
            auto [index, start, parent] = work.back();
            work.pop_back();
            // One way down without a holder: the run of folders goes on.
            while (steps_[static_cast<std::size_t>(index)].holder == kNoHolderNode &&
                   steps_[static_cast<std::size_t>(index)].steps.size() == 1)
                index = steps_[static_cast<std::size_t>(index)].steps.front();
            const FolderStep& step = steps_[static_cast<std::size_t>(index)];
            int shown = step.holder;
            if (shown == kNoHolderNode) {
                ShownNode node;
                node.folder = step.folder->substr(0, step.end);
                std::string_view run = std::string_view(node.folder).substr(start);
                // The root of a POSIX file system shows as "/"; other runs lose their last
                // separator.
                if (run.size() > 1 && IsSeparatorIn(node.folder, run.back())) run.remove_suffix(1);
                node.label = std::string(run);
                shown = static_cast<int>(nodes_.size());
                nodes_.push_back(std::move(node));
            }
            Attach(shown, parent);
            for (const int below : step.steps) work.push_back({below, step.end, shown});
        }
    }

  private:
    void Attach(int shown, int parent) {
        nodes_[static_cast<std::size_t>(shown)].parent = parent;
        (parent == kNoHolderNode ? roots_ : nodes_[static_cast<std::size_t>(parent)].children)
            .push_back(shown);
    }

    std::vector<ShownNode>& nodes_;
    std::vector<int>& roots_;
    const HolderTree& holders_;
    std::vector<FolderStep> steps_;
    std::unordered_map<std::string, int> index_;  // by parent step and folder name
};

void SortSiblings(std::vector<int>& siblings, std::vector<ShownNode>& nodes) {
    std::vector<std::pair<std::string, int>> keyed;
    keyed.reserve(siblings.size());
    for (const int n : siblings)
        keyed.emplace_back(DisplayOrderKey(nodes[static_cast<std::size_t>(n)].label), n);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t row = 0; row < keyed.size(); ++row) {
        siblings[row] = keyed[row].second;
        nodes[static_cast<std::size_t>(keyed[row].second)].row = static_cast<int>(row);
    }
}

}  // namespace

ShownTree ShownTree::Build(const HolderTree& holders, bool folders) {
    ShownTree tree;
    tree.nodes_.reserve(holders.size());
    for (std::size_t i = 0; i < holders.size(); ++i) {
        const HolderNode& h = holders.node(static_cast<int>(i));
        tree.nodes_.push_back(
            {static_cast<int>(i), h.label, h.folder, h.parent, h.row, h.children});
    }
    if (!folders) {
        tree.roots_ = holders.roots();
        return tree;
    }
    Builder builder(tree.nodes_, tree.roots_, holders);
    for (const int root : holders.roots()) builder.Add(root);
    builder.Emit();
    SortSiblings(tree.roots_, tree.nodes_);
    for (std::size_t i = holders.size(); i < tree.nodes_.size(); ++i)
        SortSiblings(tree.nodes_[i].children, tree.nodes_);
    return tree;
}

}  // namespace kantoria
