#pragma once
// Questions and walks over the forest of open notebooks that the whole
// program asks of the notes tree. They work on the forest, never on widgets,
// so they cost the same whether a node is shown or not.
#include <QSet>
#include <QString>

#include <functional>

namespace vlr {

class TNodeData;
class TNodeRoot;
class TNoteForest;
class TTreeNode;

// The root reached by following parents from node; none for none.
TTreeNode* NotebookNodeOf(TTreeNode* node);

// The notebook is protected, not unlocked, and holds at least one note.
bool NeedsPassword(const TNodeRoot* notebook);

// The node's position in its notebook's pre-order, which is the index of its
// note in the notebook's note list; -1 for a root or none.
int NoteIndexOf(TTreeNode* node);

// Absolute positions count every node of every notebook, roots included, in
// tree order from 0.
int NodeCount(const TNoteForest& forest);
int AbsoluteIndexOf(const TNoteForest& forest, const TTreeNode* node); // -1 when not in the forest
TTreeNode* NodeAtAbsoluteIndex(const TNoteForest& forest, int index);  // none when out of range

// Visits the nodes after node in pre-order while they are deeper than node;
// stops when fn returns false. Returns false when it was stopped.
bool VisitDescendants(TTreeNode* node, const std::function<bool(TTreeNode*)>& fn);

// Recollects the notebook's note list in tree order below root: every note
// learns its node, its notebook's root and its level. TreeDirty is set when
// the number of notes changed.
void RebuildNotesList(TTreeNode* root);
// Every notebook, in tree order.
void RebuildAllNotesLists(const TNoteForest& forest);

// Drops the bodies of clean, loaded notes except the ones given (the
// selected note and the note the editor shows).
void UnloadCleanNotes(const TNoteForest& forest, const TNodeData* keep, const TNodeData* keepToo = nullptr);

// The first root whose notebook's file name equals fileName exactly.
TTreeNode* FindNotebookRoot(const TNoteForest& forest, const QString& fileName);

// What opening a notebook selects: its last selected note, or its root when
// that index is outside the note list or the notebook needs a password.
TTreeNode* LastSelectedNodeOf(TTreeNode* root);

// Which of the given pointers are nodes of the forest now. The pointers are
// only compared, never followed, so they may be stale.
QSet<const TTreeNode*> NodesInForest(const TNoteForest& forest, const QSet<const TTreeNode*>& candidates);

// The node reached from node by following first children while there are any.
TTreeNode* DeepestFirstChild(TTreeNode* node);

} // namespace vlr
