#pragma once
// A note as it is born: defaults of the notebook and the program, a fresh
// identifier, the empty body, loaded and not yet stored.
#include "storage/defaults.h"

namespace vlr {

class TNodeData;
class TNodeRoot;
class TTreeNode;

// Binds a new note to a node that was just added below the notebook's root
// and puts it into the notebook's note list at the node's pre-order place.
TNodeData* CreateNoteForNode(TNodeRoot& notebook, TTreeNode* node, const NewNoteDefaults& defaults,
                             bool plainText);

} // namespace vlr
