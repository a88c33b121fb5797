// The holder tree as the left pane shows it, decided without a window: which holder hangs
// under which, the item labels, the sibling order and the walk that finds an item again from
// its stored label path. The widget and kantoria-cli both render this structure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/catalogue/entry.h"

namespace kantoria {

// The label of a holder's item: its folder string without the closing separator, then the
// part after the last remaining separator ('\' and '/' both count, but in a "/" path only '/').
// "C:\" gives "C:", "C:\Docs\A\" gives "A", "/home/u/docs/" gives "docs", "/d/a\b/" gives "a\b";
// the root "/" gives "".
std::string HolderLabel(std::string_view folder);

inline constexpr int kNoHolderNode = -1;

// The form in which folder strings are compared as parents of one another: the path rule's key,
// with either separator as a backslash unless it is a "/" path.
std::string FolderKey(std::string_view folder);

struct HolderNode {
    std::string label;   // as HolderLabel gives it; the root "/" keeps its empty label here
    std::string folder;  // the holder's folder string
    int parent = kNoHolderNode;
    int row = 0;                // position among its siblings
    std::vector<int> children;  // in display order
};

// Finds each holder's parent among the holders added before it, in time linear in the length
// of its key however long or deep it is: every prefix of the key has its hash from one pass,
// so each length at which a holder key could end costs one table lookup, and only a hit is
// compared byte for byte. Keys are folder strings in the form the parent test compares.
class HolderParentFinder {
  public:
    // Records key as node index's (a later equal key wins) and answers the node of the
    // longest proper prefix of key that is a recorded key and may end a folder string, or
    // kNoHolderNode.
    int Add(std::string key, int index);
    // Bytes hashed and compared and lookups made so far: what the time taken grows with.
    std::size_t Work() const { return work_; }

  private:
    // Polynomial hashing modulo 2^61 - 1 with a base drawn at random, so that no file can be
    // made to collide on purpose.
    static constexpr std::uint64_t kModulus = (std::uint64_t{1} << 61) - 1;
    static std::uint64_t RandomBase();
    std::uint64_t Step(std::uint64_t hash, unsigned char c) const;
    int Find(std::string_view prefix, std::uint64_t hash);

    std::uint64_t base_ = RandomBase();
    std::vector<std::string> keys_;  // by node
    std::vector<int> sameHash_;      // by node: the previous node whose key has the same hash
    std::unordered_map<std::uint64_t, int> latest_;  // the last node added with each hash
    std::vector<bool> lengths_;                      // the lengths of the keys added
    std::vector<std::pair<std::size_t, std::uint64_t>> candidates_;  // prefix length, hash
    std::size_t work_ = 0;
};

class HolderTree {
  public:
    // Builds the tree of holders. Nodes are numbered in insertion order: shortest folder
    // string first, among equally long ones the holder later in the list first. The parent of
    // a holder is the last earlier one whose folder string begins the child's, compared by the
    // path rule with either separator counting alike; siblings stand in label order
    // (DisplayOrderKey), equal labels in insertion order.
    static HolderTree Build(const std::list<Holder>& holders);

    std::size_t size() const { return nodes_.size(); }
    bool empty() const { return nodes_.empty(); }
    const HolderNode& node(int index) const { return nodes_[static_cast<std::size_t>(index)]; }
    const std::vector<int>& roots() const { return roots_; }
    // The siblings of a node (the top-level items for a top-level node).
    const std::vector<int>& SiblingsOf(int index) const;

    // The labels from the top-level item down to index, joined by '\'.
    std::string LabelPath(int index) const;
    // The node that the stored label path designates, or kNoHolderNode. Leading backslashes
    // are dropped; the path is compared exactly with the items' labels, each followed by the
    // backslash that joins the next (a label may hold backslashes itself); a sibling chain that
    // ends without a match goes on at the first child of its last item.
    int FindByLabelPath(std::string_view path) const;
    // The node of the holder with this folder (the same path by SamePath), or kNoHolderNode.
    int FindByFolder(std::string_view folder) const;

  private:
    std::vector<HolderNode> nodes_;
    std::vector<int> roots_;
};

// The holder tree of a document, built again only when its holders changed.
class HolderTreeCache {
  public:
    const HolderTree& TreeOf(const std::list<Holder>& holders, std::uint64_t holdersRevision);

  private:
    HolderTree tree_;
    std::uint64_t revision_ = 0;
    bool built_ = false;
};

}  // namespace kantoria
