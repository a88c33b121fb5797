#include "core/views/shown_holder.h"

namespace kantoria {

int ShownHolder(const HolderTree& tree, const Catalogue& doc) {
    if (doc.LastHolderFolder()) {
        const int clicked = tree.FindByFolder(*doc.LastHolderFolder());
        if (clicked != kNoHolderNode && tree.LabelPath(clicked) == doc.LastHolder()) return clicked;
    }
    return tree.FindByLabelPath(doc.LastHolder());
}

void ChooseHolder(Catalogue& doc, const HolderTree& tree, int node) {
    doc.SetLastHolder(tree.LabelPath(node));
    doc.SetLastHolderFolder(tree.node(node).folder);
}

}  // namespace kantoria
