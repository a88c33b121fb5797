// The holder tree as the left pane shows it. Without folders it is the holder tree itself.
// With folders, the top-level holders (those whose folders lie in no other holder's) hang under
// grey folder nodes for the folders they share, so that a search of a deep folder reads as the
// tree on disk instead of thousands of top-level items: a folder node stands for a run of
// folders down to where the holders below it part, and a folder with a single holder below it
// shows no node at all. Folder nodes are a sight only: label paths, the stored shown holder and
// every command that acts on a holder still go by the holders.
#pragma once

#include <string>
#include <vector>

#include "core/views/holder_tree_logic.h"

namespace kantoria {

struct ShownNode {
    int holder = kNoHolderNode;  // the holder's node in the holder tree; none for a folder node
    std::string label;           // a folder node's: its folders joined by their separators
    std::string folder;          // the folder string, with its closing separator
    int parent = kNoHolderNode;
    int row = 0;
    std::vector<int> children;  // in display order
};

class ShownTree {
  public:
    // Node i < holders.size() is holder i; folder nodes follow.
    static ShownTree Build(const HolderTree& holders, bool folders);

    std::size_t size() const { return nodes_.size(); }
    const ShownNode& node(int index) const { return nodes_[static_cast<std::size_t>(index)]; }
    const std::vector<int>& roots() const { return roots_; }

  private:
    std::vector<ShownNode> nodes_;
    std::vector<int> roots_;
};

}  // namespace kantoria
