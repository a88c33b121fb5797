#include "core/views/shown_holder.h"

namespace kantoria {

int ShownHolder(const HolderTree& tree, const CMORKA2Doc& doc) {
    if (doc.m_pShownChoice) return kNoHolderNode;
    if (doc.m_strLastHolderFolder) {
        const int clicked = tree.FindByFolder(*doc.m_strLastHolderFolder);
        if (clicked != kNoHolderNode && tree.LabelPath(clicked) == doc.m_strLastHolder)
            return clicked;
    }
    return tree.FindByLabelPath(doc.m_strLastHolder);
}

void ChooseHolder(CMORKA2Doc& doc, const HolderTree& tree, int node) {
    doc.m_strLastHolder = tree.LabelPath(node);
    doc.m_strLastHolderFolder = tree.node(node).folder;
    doc.m_pShownChoice.reset();
}

}  // namespace kantoria
