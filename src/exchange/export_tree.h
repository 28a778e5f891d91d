#pragma once
// The export tree: a private copy of part of the notes tree with a mark on
// every node. Its root stands for the notebook and is never exported; each
// other node refers to the note it was copied from.
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace vlr {

class TNodeData;
class TNodeRoot;
class TTreeNode;

enum TExportMark : int { emNone = 0, emMarked = 1, emUnmarked = 2 };

class TExportNode {
public:
    TExportNode* Parent() const { return m_parent; }
    int Count() const { return int(m_children.size()); }
    TExportNode* Child(int i) const { return m_children[size_t(i)].get(); }
    int Index() const { return m_row; }
    // None for the root.
    TNodeData* Note() const { return m_note; }
    // The main tree's node the copy was taken from.
    TTreeNode* Source() const { return m_source; }
    QString Title() const;
    int Mark() const { return m_mark; }
    bool Marked() const { return m_mark == emMarked; }
    bool IsRoot() const { return !m_parent; }

private:
    friend class TExportTree;
    TExportNode* m_parent = nullptr;
    TNodeData* m_note = nullptr;
    TTreeNode* m_source = nullptr;
    int m_mark = emNone;
    int m_row = 0;
    std::vector<std::unique_ptr<TExportNode>> m_children;
};

class TExportTree {
public:
    enum class Command { ExportNotes, ExportNote };

    // Builds the tree for the selection (a notebook's root or a note): the
    // root bears the notebook's title; a selected note comes under it,
    // marked. ExportNotes adds the selection's children, marked, and with
    // recurse their descendants; ExportNote only the note itself.
    void Build(TTreeNode* selection, Command command, bool recurse);
    void Clear();

    TExportNode* Root() const { return m_root.get(); }
    TNodeRoot* Notebook() const { return m_notebook; }
    // The selection the tree was built from.
    TTreeNode* Selection() const { return m_selection; }
    bool Empty() const { return !m_root || m_root->Count() == 0; }
    // Every node, the root included.
    int NodeCount() const { return m_count; }

    // A click on a node's mark: marked and unmarked swap; the root has none.
    void Toggle(TExportNode* node);
    // The node and all its descendants take the mark; for the root, every note.
    void SetMarks(TExportNode* node, TExportMark mark);

    // Pre-order from the root (position 0), with each node's position.
    void ForEach(const std::function<void(TExportNode* node, int position)>& fn) const;
    int MarkedCount() const;
    // The titles from the root down to the node, joined by " - ".
    static QString PathOf(const TExportNode* node);

private:
    TExportNode* add(TExportNode* parent, TTreeNode* source, int mark);
    void copyChildren(TExportNode* into, TTreeNode* from, bool recurse);

    std::unique_ptr<TExportNode> m_root;
    TNodeRoot* m_notebook = nullptr;
    TTreeNode* m_selection = nullptr;
    int m_count = 0;
};

} // namespace vlr
