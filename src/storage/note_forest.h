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
    QString Text;
    int ImageIndex = -1;
    int SelectedIndex = -1;
    int StateIndex = -1;
    bool Expanded = false;
    bool Cut = false;
    // The node's Data: the notebook for a root, the note for a note.
    TNodeRoot* Notebook = nullptr;
    TNodeData* Note = nullptr;

    TTreeNode* Parent() const { return m_parent; }
    int Count() const { return static_cast<int>(m_children.size()); }
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

private:
    friend class TNoteForest;
    TNoteForest* m_forest = nullptr;
    TTreeNode* m_parent = nullptr;
    int m_level = 0;
    mutable int m_row = -1;
    std::vector<std::unique_ptr<TTreeNode>> m_children;
};

class ForestObserver {
public:
    virtual ~ForestObserver() = default;
    virtual void nodeAboutToBeInserted(TTreeNode* parent, int row) {}
    virtual void nodeInserted(TTreeNode* node) {}
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
    // Tells observers that a node's looks changed.
    void Changed(TTreeNode* node);

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return m_updateDepth > 0; }

    void addObserver(ForestObserver* observer);
    void removeObserver(ForestObserver* observer);

private:
    void notify(auto&& call);
    void setLevels(TTreeNode* node, int level);

    TTreeNode m_roots; // invisible holder of the roots
    int m_updateDepth = 0;
    std::vector<ForestObserver*> m_observers;
};

// Pre-order walk of the nodes below a node (not the node itself).
template <typename F>
void ForEachDescendant(TTreeNode* node, F&& f)
{
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
