#pragma once
// A notebook's tree and note list written as text, so a test states the
// shape it expects in one line: "a(a1,a2),b".
#include "storage/node_root.h"

#include <QStringList>

namespace vlr::test {

inline QString shapeOf(TTreeNode* node) {
    QStringList parts;
    for (int i = 0; i < node->Count(); ++i) {
        TTreeNode* c = node->Child(i);
        parts << (c->HasChildren() ? c->Text() + "(" + shapeOf(c) + ")" : c->Text());
    }
    return parts.join(',');
}

// The names of the notebook's note list, which must follow the tree's pre-order.
inline QString listOf(const TNodeRoot& nb) {
    QStringList names;
    for (const TNodeData* n : nb.Notes)
        names << n->Record.NoteName();
    return names.join(',');
}

inline QString preorderOf(TTreeNode* root) {
    QStringList names;
    ForEachDescendant(root, [&](TTreeNode* n) { names << n->Text(); });
    return names.join(',');
}

// The first node below root called name.
inline TTreeNode* findNode(TTreeNode* root, const QString& name) {
    TTreeNode* hit = nullptr;
    ForEachDescendant(root, [&](TTreeNode* n) {
        if (!hit && n->Text() == name)
            hit = n;
    });
    return hit;
}

} // namespace vlr::test
