#pragma once
// The one forest of open notebooks: every notebook is a root, its notes the
// nodes below. Data first: the tree view presents it through a model and
// never owns it. Every change of shape goes through TNoteForest, which tells
// its observers; a BeginUpdate/EndUpdate bracket becomes one reset.
#include <QString>

#include <memory>
#include <vector>

namespace vlr {

class TNodeRoot;
class TNodeData;
class TNoteForest;

class TTreeNode {
public:
    TTreeNode() = default;
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    // Read access only: the forest is the one writer of node state, so every
    // change reaches the observers.
    const QString& Text() const { return m_text; }
    int ImageIndex() const { return m_imageIndex; }
    int SelectedIndex() const { return m_selectedIndex; }
    int StateIndex() const { return m_stateIndex; }
    bool Expanded() const { return m_expanded; }
    bool Cut() const { return m_cut; }
    // The node's Data: the notebook for a root, the note for a note.
    TNodeRoot* Notebook() const { return m_notebook; }
    TNodeData* Note() const { return m_note; }

    // None for a root (and for the top nodes of a batch).
    TTreeNode* Parent() const { return m_parent && m_parent->m_parent ? m_parent : nullptr; }
    int Count() const { return static_cast<int>(m_children.size()); }
    bool HasChildren() const { return !m_children.empty(); }
    TTreeNode* Child(int i) const { return m_children[static_cast<size_t>(i)].get(); }
    int Index() const; // position among its siblings (roots: in the forest)
    // 0 for a root, 1 for a top-level note, and so on.
    int Level() const;
    TTreeNode* Root();
    bool HasAsParent(const TTreeNode* node) const;
    // Pre-order neighbours, limited to the node's own notebook.
    TTreeNode* GetNext() const;
    TTreeNode* NextSibling() const;
    TTreeNode* PrevSibling() const;
    TTreeNode* LastChild() const { return m_children.empty() ? nullptr : m_children.back().get(); }
    TNoteForest* Forest() const { return m_forest; }
    // False while the node is part of a batch not yet attached.
    bool Attached() const;

private:
    friend class TNoteForest;
    QString m_text;
    int m_imageIndex = -1;
    int m_selectedIndex = -1;
    int m_stateIndex = -1;
    bool m_expanded = false;
    bool m_cut = false;
    TNodeRoot* m_notebook = nullptr;
    TNodeData* m_note = nullptr;
    TNoteForest* m_forest = nullptr;
    TTreeNode* m_parent = nullptr;
    int m_level = 0;
    mutable int m_row = -1;
    std::vector<std::unique_ptr<TTreeNode>> m_children;
};

// Nodes built away from the forest's observers (a notebook read from disk)
// and attached later with one announcement.
class TNodeBatch {
public:
    TNodeBatch(TNodeBatch&&) = default;
    TNodeBatch& operator=(TNodeBatch&&) = default;
    // The invisible parent of the batch's top nodes.
    TTreeNode* Holder() const { return m_holder.get(); }

private:
    friend class TNoteForest;
    TNodeBatch() = default;
    std::unique_ptr<TTreeNode> m_holder;
};

class ForestObserver {
public:
    virtual ~ForestObserver() = default;
    // parent nullptr: among the roots; rows first..last.
    virtual void nodesAboutToBeInserted(TTreeNode* parent, int first, int last) {}
    virtual void nodesInserted(TTreeNode* parent, int first, int last) {}
    virtual void nodeAboutToBeRemoved(TTreeNode* node) {}
    virtual void nodeRemoved(TTreeNode* parent, int row) {}
    virtual void nodeAboutToBeMoved(TTreeNode* node, TTreeNode* newParent, int row) {}
    virtual void nodeMoved(TTreeNode* node) {}
    virtual void nodeChanged(TTreeNode* node) {}
    virtual void forestAboutToBeReset() {}
    virtual void forestReset() {}
};

class TNoteForest {
public:
    TNoteForest();
    ~TNoteForest();
    TNoteForest(const TNoteForest&) = delete;
    TNoteForest& operator=(const TNoteForest&) = delete;

    int RootCount() const { return m_roots.Count(); }
    TTreeNode* RootAt(int i) const { return m_roots.Child(i); }

    TTreeNode* AddRoot(const QString& text);
    // Adds a last child; parent nullptr adds a root.
    TTreeNode* AddChild(TTreeNode* parent, const QString& text);
    // Inserts at a position among the parent's children (nullptr: among the roots).
    TTreeNode* Insert(TTreeNode* parent, int row, const QString& text);
    // Removes the node with its subtree; the nodes' Data are not touched.
    void Remove(TTreeNode* node);
    // Moves the node (with its subtree) to a position among newParent's children.
    void Move(TTreeNode* node, TTreeNode* newParent, int row);
    void SetText(TTreeNode* node, const QString& text);
    void SetImages(TTreeNode* node, int imageIndex, int selectedIndex);
    void SetImageIndex(TTreeNode* node, int imageIndex) { SetImages(node, imageIndex, imageIndex); }
    void SetStateIndex(TTreeNode* node, int stateIndex);
    void SetExpanded(TTreeNode* node, bool expanded);
    void SetCut(TTreeNode* node, bool cut);
    void SetNotebook(TTreeNode* node, TNodeRoot* notebook);
    void SetNote(TTreeNode* node, TNodeData* note);
    // Tells observers that a node's looks changed.
    void Changed(TTreeNode* node);

    // Builds nodes nobody observes yet; parent nullptr adds a top node of the batch.
    TNodeBatch NewBatch();
    TTreeNode* AddToBatch(TNodeBatch& batch, TTreeNode* parent, const QString& text);
    // Moves the batch's top nodes below parent (nullptr: among the roots) at row,
    // announced as one insertion.
    void Attach(TNodeBatch&& batch, TTreeNode* parent, int row);

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return m_updateDepth > 0; }

    void addObserver(ForestObserver* observer);
    void removeObserver(ForestObserver* observer);

private:
    void notify(auto&& call);
    template <typename T> void assign(TTreeNode* node, T TTreeNode::*field, const T& value);
    void setLevels(TTreeNode* node, int level);
    static void renumber(TTreeNode* holder, int from);

    friend class TTreeNode;
    TTreeNode m_roots; // invisible holder of the roots
    int m_updateDepth = 0;
    std::vector<ForestObserver*> m_observers;
};

// Where a note read in tree order goes, by its stored Level, after the last
// note placed (none for the first): the parent it becomes the last child of,
// or none for a top-level note. A jump of several levels still makes a child;
// a shallower level walks up to the matching depth (never above the top).
TTreeNode* PlacementParent(TTreeNode* previous, int level);

// Pre-order walk of the nodes below a node (not the node itself).
template <typename F> void ForEachDescendant(TTreeNode* node, F&& f) {
    std::vector<TTreeNode*> stack;
    for (int i = node->Count() - 1; i >= 0; --i)
        stack.push_back(node->Child(i));
    while (!stack.empty()) {
        TTreeNode* n = stack.back();
        stack.pop_back();
        f(n);
        for (int i = n->Count() - 1; i >= 0; --i)
            stack.push_back(n->Child(i));
    }
}

} // namespace vlr
