#pragma once
// The notes a search visits, in the order it visits them.
#include "search/search_options.h"

#include <QList>

namespace vlr {

class TNodeData;
class TNodeRoot;
class TNotebookService;
class TTreeNode;

// The notes of one notebook a search goes through; a notebook searched
// whole shows its progress, a subtree does not.
struct TSearchPart {
    TNodeRoot* notebook = nullptr;
    QList<TNodeData*> notes;
    bool showProgress = false;
};

// The parts of a search from the selected node (a note or a notebook's
// root; none when nothing is selected):
// - the note and its descendants in tree order (nothing when the selection
//   is a root);
// - the selection's notebook in the order of its list of notes;
// - every open notebook in tree order, each as a current notebook.
// Locked notebooks are left out: their titles are hidden and their bodies
// cannot be read.
QList<TSearchPart> CollectSearchParts(const TNotebookService& service, TSearchScope scope,
                                      TTreeNode* selected);

} // namespace vlr
