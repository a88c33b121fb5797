#include "core/views/holder_tree_logic.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <unordered_map>
#include <utility>

#include "core/text/path_identity.h"
#include "core/text/path_split.h"
#include "core/text/text_fold.h"

namespace kantoria {
namespace {

// Lengths at which a holder's folder string could end inside folder: the empty string, a
// drive "X:", or up to a separator. Every folder string has one of these forms.
bool MayEndFolder(std::string_view folder, std::size_t length) {
    if (length == 0) return true;
    if (length == 2 && folder[1] == ':') return true;
    return IsSeparatorIn(folder, folder[length - 1]);
}

// keys holds each node's DisplayOrderKey of its label, computed once per build.
void SortSiblings(std::vector<int>& siblings, std::vector<HolderNode>& nodes,
                  const std::vector<std::string>& keys) {
    std::stable_sort(siblings.begin(), siblings.end(), [&](int a, int b) {
        return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
    });
    for (std::size_t row = 0; row < siblings.size(); ++row)
        nodes[static_cast<std::size_t>(siblings[row])].row = static_cast<int>(row);
}

}  // namespace

// C:/Docs/ still holds C:\Docs\A\ while /x/Docs/ does not hold /x/docs/A/, nor /x/a\b/ hold
// /x/a/b/: in a "/" path a backslash belongs to a name, and the key stays as it is.
std::string FolderKey(std::string_view folder) {
    std::string out = PathKey(folder);
    if (IsCaseSensitivePath(folder)) return out;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string HolderLabel(std::string_view folder) {
    if (folder.empty()) return {};
    const std::string_view trimmed = folder.substr(0, folder.size() - 1);
    const std::size_t sep = LastSeparatorIn(trimmed);
    return std::string(sep == std::string_view::npos ? trimmed : trimmed.substr(sep + 1));
}

int HolderParentFinder::Add(std::string key, int index) {
    // One pass hashes the key and keeps the hash of each prefix that could be a recorded key:
    // one whose length some key has and which may end a folder string.
    candidates_.clear();
    std::uint64_t hash = 0;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (i < lengths_.size() && lengths_[i] && MayEndFolder(key, i))
            candidates_.emplace_back(i, hash);
        hash = Step(hash, static_cast<unsigned char>(key[i]));
    }
    work_ += key.size();
    int parent = kNoHolderNode;
    for (auto it = candidates_.rbegin(); it != candidates_.rend(); ++it) {
        parent = Find(std::string_view(key).substr(0, it->first), it->second);
        if (parent != kNoHolderNode) break;
    }
    if (lengths_.size() <= key.size()) lengths_.resize(key.size() + 1, false);
    lengths_[key.size()] = true;
    const auto [it, added] = latest_.try_emplace(hash, index);
    sameHash_.resize(static_cast<std::size_t>(index) + 1, kNoHolderNode);
    sameHash_[static_cast<std::size_t>(index)] =
        added ? kNoHolderNode : std::exchange(it->second, index);
    keys_.resize(static_cast<std::size_t>(index) + 1);
    keys_[static_cast<std::size_t>(index)] = std::move(key);
    return parent;
}

std::uint64_t HolderParentFinder::Step(std::uint64_t hash, unsigned char c) const {
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(hash) * base_;
    std::uint64_t folded = static_cast<std::uint64_t>(product & kModulus) +
                           static_cast<std::uint64_t>(product >> 61) + c + 1;
    while (folded >= kModulus) folded -= kModulus;
    return folded;
}

int HolderParentFinder::Find(std::string_view prefix, std::uint64_t hash) {
    ++work_;
    const auto it = latest_.find(hash);
    if (it == latest_.end()) return kNoHolderNode;
    for (int i = it->second; i != kNoHolderNode; i = sameHash_[static_cast<std::size_t>(i)]) {
        work_ += prefix.size();
        if (keys_[static_cast<std::size_t>(i)] == prefix) return i;
    }
    return kNoHolderNode;
}

std::uint64_t HolderParentFinder::RandomBase() {
    std::random_device device;
    return (std::uint64_t{device()} << 32 | device()) % (kModulus - 256) + 256;
}

HolderTree HolderTree::Build(const std::list<Holder>& holders) {
    std::vector<const Holder*> listed;
    listed.reserve(holders.size());
    for (const Holder& h : holders) listed.push_back(&h);

    std::vector<std::size_t> order(listed.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::size_t la = listed[a]->folder.size(), lb = listed[b]->folder.size();
        return la != lb ? la < lb : a > b;
    });

    HolderTree tree;
    tree.nodes_.reserve(order.size());
    HolderParentFinder parents;
    for (const std::size_t listIndex : order) {
        HolderNode node;
        node.folder = listed[listIndex]->folder;
        node.label = HolderLabel(node.folder);
        const int index = static_cast<int>(tree.nodes_.size());
        // The longest proper prefix that is a holder is the last earlier one: shorter folder
        // strings come first in the insertion order.
        node.parent = parents.Add(FolderKey(node.folder), index);
        if (node.parent == kNoHolderNode)
            tree.roots_.push_back(index);
        else
            tree.nodes_[static_cast<std::size_t>(node.parent)].children.push_back(index);
        tree.nodes_.push_back(std::move(node));
    }
    std::vector<std::string> keys;
    keys.reserve(tree.nodes_.size());
    for (const HolderNode& n : tree.nodes_) keys.push_back(DisplayOrderKey(n.label));
    SortSiblings(tree.roots_, tree.nodes_, keys);
    for (HolderNode& n : tree.nodes_) SortSiblings(n.children, tree.nodes_, keys);
    return tree;
}

const std::vector<int>& HolderTree::SiblingsOf(int index) const {
    const int parent = node(index).parent;
    return parent == kNoHolderNode ? roots_ : node(parent).children;
}

std::string HolderTree::LabelPath(int index) const {
    std::vector<int> chain;
    for (int n = index; n != kNoHolderNode; n = node(n).parent) chain.push_back(n);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (it != chain.rbegin()) path += '\\';
        path += node(*it).label;
    }
    return path;
}

int HolderTree::FindByLabelPath(std::string_view path) const {
    while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    if (roots_.empty()) return kNoHolderNode;
    int current = roots_.front();
    for (;;) {
        // A label may hold a backslash itself (a Linux folder name): the path is matched against
        // each label, not cut at every backslash. The label is the whole rest, or is followed by
        // the backslash that joins it to the next.
        const std::string_view label = node(current).label;
        const bool whole = path == label;
        const bool begins = !whole && path.size() > label.size() &&
                            path.substr(0, label.size()) == label && path[label.size()] == '\\';
        const std::size_t sep = whole ? std::string_view::npos : label.size();
        // A label that only begins the path and has nothing below it is passed over, so that a
        // later sibling whose label holds the backslash is reached.
        if (!whole && !(begins && !node(current).children.empty())) {
            const std::vector<int>& siblings = SiblingsOf(current);
            const std::size_t next = static_cast<std::size_t>(node(current).row) + 1;
            if (next < siblings.size()) {
                current = siblings[next];
            } else if (!node(current).children.empty()) {
                current = node(current).children.front();
            } else {
                return kNoHolderNode;
            }
            continue;
        }
        if (sep == std::string_view::npos) return current;
        current = node(current).children.front();
        path.remove_prefix(sep + 1);
    }
}

int HolderTree::FindByFolder(std::string_view folder) const {
    for (std::size_t i = 0; i < nodes_.size(); ++i)
        if (SamePath(nodes_[i].folder, folder)) return static_cast<int>(i);
    return kNoHolderNode;
}

const HolderTree& HolderTreeCache::TreeOf(const std::list<Holder>& holders,
                                          std::uint64_t holdersRevision) {
    if (!built_ || revision_ != holdersRevision) {
        tree_ = HolderTree::Build(holders);
        revision_ = holdersRevision;
        built_ = true;
    }
    return tree_;
}

}  // namespace kantoria
