#include "tree/tree_operations.h"

#include "storage/node_root.h"

namespace vlr {

TTreeNode* NotebookNodeOf(TTreeNode* node) {
    return node ? node->Root() : nullptr;
}

bool NeedsPassword(const TNodeRoot* notebook) {
    if (!notebook || !notebook->IsLocked())
        return false;
    return !notebook->Notes.isEmpty() || (notebook->RootNode && notebook->RootNode->HasChildren());
}

namespace {

// The nodes after node in pre-order while they are deeper than node; stops
// when f returns false.
template <typename F> bool walkBelow(TTreeNode* node, F&& f) {
    const int level = node->Level();
    for (TTreeNode* n = node->GetNext(); n && n->Level() > level; n = n->GetNext())
        if (!f(n))
            return false;
    return true;
}

int subtreeSize(TTreeNode* node) {
    int count = 1;
    walkBelow(node, [&](TTreeNode*) {
        ++count;
        return true;
    });
    return count;
}

// The node's position below its root (the root itself is 0).
int positionInNotebook(TTreeNode* node) {
    TTreeNode* root = node->Root();
    if (root == node)
        return 0;
    int position = 0;
    const bool found = !walkBelow(root, [&](TTreeNode* n) {
        ++position;
        return n != node;
    });
    return found ? position : -1;
}

} // namespace

int NoteIndexOf(TTreeNode* node) {
    if (!node || node->Level() == 0)
        return -1;
    const int position = positionInNotebook(node);
    return position < 0 ? -1 : position - 1;
}

int NodeCount(const TNoteForest& forest) {
    int count = 0;
    for (int i = 0; i < forest.RootCount(); ++i)
        count += subtreeSize(forest.RootAt(i));
    return count;
}

int AbsoluteIndexOf(const TNoteForest& forest, const TTreeNode* node) {
    if (!node)
        return -1;
    TTreeNode* root = const_cast<TTreeNode*>(node)->Root();
    int before = 0;
    for (int i = 0; i < forest.RootCount(); ++i) {
        TTreeNode* r = forest.RootAt(i);
        if (r == root) {
            const int position = positionInNotebook(const_cast<TTreeNode*>(node));
            return position < 0 ? -1 : before + position;
        }
        before += subtreeSize(r);
    }
    return -1;
}

TTreeNode* NodeAtAbsoluteIndex(const TNoteForest& forest, int index) {
    if (index < 0)
        return nullptr;
    for (int i = 0; i < forest.RootCount(); ++i) {
        TTreeNode* root = forest.RootAt(i);
        if (index == 0)
            return root;
        --index;
        TTreeNode* found = nullptr;
        walkBelow(root, [&](TTreeNode* n) {
            if (index-- == 0) {
                found = n;
                return false;
            }
            return true;
        });
        if (found)
            return found;
    }
    return nullptr;
}

bool VisitDescendants(TTreeNode* node, const std::function<bool(TTreeNode*)>& fn) {
    return node ? walkBelow(node, fn) : true;
}

void RebuildNotesList(TTreeNode* root) {
    TNodeRoot* nb = root ? root->Notebook() : nullptr;
    if (!nb)
        return;
    const qsizetype before = nb->Notes.size();
    nb->RootNode = root;
    nb->Notes.clear();
    walkBelow(root, [&](TTreeNode* n) {
        if (TNodeData* note = n->Note()) {
            note->TreeNode = n;
            note->RootNode = root;
            note->IndexHint = int(nb->Notes.size());
            note->Record.setLevel(n->Level());
            nb->Notes.append(note);
        }
        return true;
    });
    if (nb->Notes.size() != before)
        nb->TreeDirty = true;
}

void RebuildAllNotesLists(const TNoteForest& forest) {
    for (int i = 0; i < forest.RootCount(); ++i)
        RebuildNotesList(forest.RootAt(i));
}

void UnloadCleanNotes(const TNoteForest& forest, const TNodeData* keep, const TNodeData* keepToo) {
    for (int i = 0; i < forest.RootCount(); ++i) {
        const TNodeRoot* nb = forest.RootAt(i)->Notebook();
        if (!nb)
            continue;
        for (TNodeData* note : nb->Notes) {
            if (note == keep || note == keepToo || !note->Clean || !note->Loaded)
                continue;
            note->Loaded = false;
            note->Body = QByteArray();
        }
    }
}

TTreeNode* FindNotebookRoot(const TNoteForest& forest, const QString& fileName) {
    for (int i = 0; i < forest.RootCount(); ++i) {
        TTreeNode* root = forest.RootAt(i);
        if (root->Notebook() && root->Notebook()->FileName == fileName)
            return root;
    }
    return nullptr;
}

TTreeNode* LastSelectedNodeOf(TTreeNode* root) {
    const TNodeRoot* nb = root ? root->Notebook() : nullptr;
    if (!nb)
        return root;
    const int index = nb->Header.SelectedNote();
    if (index < 0 || index >= nb->Notes.size() || NeedsPassword(nb))
        return root;
    TTreeNode* node = nb->Notes[index]->TreeNode;
    return node ? node : root;
}

QSet<const TTreeNode*> NodesInForest(const TNoteForest& forest, const QSet<const TTreeNode*>& candidates) {
    QSet<const TTreeNode*> found;
    if (candidates.isEmpty())
        return found;
    for (int i = 0; i < forest.RootCount() && found.size() < candidates.size(); ++i) {
        TTreeNode* root = forest.RootAt(i);
        if (candidates.contains(root))
            found.insert(root);
        walkBelow(root, [&](TTreeNode* n) {
            if (candidates.contains(n))
                found.insert(n);
            return found.size() < candidates.size();
        });
    }
    return found;
}

TTreeNode* DeepestFirstChild(TTreeNode* node) {
    while (node && node->HasChildren())
        node = node->Child(0);
    return node;
}

} // namespace vlr
