// Which holder the tree shows as selected and the list shows the entries of. Both views ask
// here, so they always agree.
#pragma once

#include "core/catalogue/catalogue.h"
#include "core/views/holder_tree_logic.h"

namespace kantoria {

// The node that the document's selected-holder path designates. The holder clicked last wins
// while the path is still its label path, so that of two items with equal label paths the
// clicked one stays shown; otherwise the path's walk decides. kNoHolderNode when none. (While the
// list shows a find or the missing files, the views show no holder as current themselves.)
int ShownHolder(const HolderTree& tree, const Catalogue& doc);

// Records a click on node: its label path, which travels with the catalogue, and its folder.
void ChooseHolder(Catalogue& doc, const HolderTree& tree, int node);

}  // namespace kantoria
