#include "storage/note_forest.h"

#include <algorithm>

namespace vlr {

int TTreeNode::Index() const {
    if (!m_parent)
        return 0;
    const auto& siblings = m_parent->m_children;
    // Rows shift only when siblings come or go: the cached row is right almost always.
    if (m_row >= 0 && size_t(m_row) < siblings.size() && siblings[size_t(m_row)].get() == this)
        return m_row;
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this)
            return m_row = static_cast<int>(i);
    return -1;
}

int TTreeNode::Level() const {
    return m_level;
}

bool TTreeNode::Attached() const {
    const TTreeNode* n = this;
    while (n->m_parent)
        n = n->m_parent;
    return m_forest && n == &m_forest->m_roots;
}

TTreeNode* TTreeNode::Root() {
    TTreeNode* n = this;
    while (n->m_parent && n->m_parent->m_parent)
        n = n->m_parent;
    return n;
}

bool TTreeNode::HasAsParent(const TTreeNode* node) const {
    for (const TTreeNode* p = m_parent; p; p = p->m_parent)
        if (p == node)
            return true;
    return false;
}

TTreeNode* TTreeNode::NextSibling() const {
    if (!m_parent)
        return nullptr;
    const int i = Index();
    return i + 1 < m_parent->Count() ? m_parent->Child(i + 1) : nullptr;
}

TTreeNode* TTreeNode::PrevSibling() const {
    if (!m_parent)
        return nullptr;
    const int i = Index();
    return i > 0 ? m_parent->Child(i - 1) : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!m_children.empty())
        return m_children.front().get();
    for (const TTreeNode* n = this; n && n->m_level > 0; n = n->m_parent)
        if (TTreeNode* s = n->NextSibling())
            return s;
    return nullptr;
}

TNoteForest::TNoteForest() {
    m_roots.m_forest = this;
    m_roots.m_level = -1;
}

TNoteForest::~TNoteForest() = default;

void TNoteForest::notify(auto&& call) {
    if (m_updateDepth > 0)
        return;
    for (ForestObserver* o : m_observers)
        call(o);
}

void TNoteForest::renumber(TTreeNode* holder, int from) {
    // Siblings after a change moved: their cached rows follow, so no lookup rescans.
    for (int i = qMax(0, from); i < holder->Count(); ++i)
        holder->Child(i)->m_row = i;
}

void TNoteForest::setLevels(TTreeNode* node, int level) {
    node->m_level = level;
    ForEachDescendant(node, [](TTreeNode* n) { n->m_level = n->m_parent->m_level + 1; });
}

TTreeNode* TNoteForest::AddRoot(const QString& text) {
    return Insert(nullptr, RootCount(), text);
}

TTreeNode* TNoteForest::AddChild(TTreeNode* parent, const QString& text) {
    return Insert(parent, parent ? parent->Count() : RootCount(), text);
}

TTreeNode* TNoteForest::Insert(TTreeNode* parent, int row, const QString& text) {
    TTreeNode* holder = parent ? parent : &m_roots;
    row = std::clamp(row, 0, holder->Count());
    const bool visible = holder->Attached();
    if (visible)
        notify([&](ForestObserver* o) { o->nodesAboutToBeInserted(parent, row, row); });
    auto node = std::make_unique<TTreeNode>();
    node->m_text = text;
    node->m_forest = this;
    node->m_parent = holder;
    node->m_level = holder->m_level + 1;
    TTreeNode* raw = node.get();
    raw->m_row = row;
    holder->m_children.insert(holder->m_children.begin() + row, std::move(node));
    renumber(holder, row + 1);
    if (visible)
        notify([&](ForestObserver* o) { o->nodesInserted(parent, row, row); });
    return raw;
}

void TNoteForest::Remove(TTreeNode* node) {
    TTreeNode* holder = node->m_parent;
    const int row = node->Index();
    const bool visible = node->Attached();
    if (visible)
        notify([&](ForestObserver* o) { o->nodeAboutToBeRemoved(node); });
    TTreeNode* parent = holder == &m_roots ? nullptr : holder;
    holder->m_children.erase(holder->m_children.begin() + row);
    renumber(holder, row);
    if (visible)
        notify([&](ForestObserver* o) { o->nodeRemoved(parent, row); });
}

void TNoteForest::Move(TTreeNode* node, TTreeNode* newParent, int row) {
    TTreeNode* target = newParent ? newParent : &m_roots;
    if (target == node || target->HasAsParent(node))
        return; // a node cannot go below itself
    notify([&](ForestObserver* o) { o->nodeAboutToBeMoved(node, newParent, row); });
    TTreeNode* holder = node->m_parent;
    const int from = node->Index();
    std::unique_ptr<TTreeNode> owned = std::move(holder->m_children[static_cast<size_t>(from)]);
    holder->m_children.erase(holder->m_children.begin() + from);
    if (holder == target && row > from)
        --row;
    row = std::clamp(row, 0, target->Count());
    owned->m_parent = target;
    target->m_children.insert(target->m_children.begin() + row, std::move(owned));
    renumber(holder, holder == target ? std::min(from, row) : from);
    if (holder != target)
        renumber(target, row);
    setLevels(node, target->m_level + 1);
    notify([&](ForestObserver* o) { o->nodeMoved(node); });
}

template <typename T> void TNoteForest::assign(TTreeNode* node, T TTreeNode::*field, const T& value) {
    if (node->*field == value)
        return;
    node->*field = value;
    if (node->Attached())
        Changed(node);
}

void TNoteForest::SetText(TTreeNode* node, const QString& text) {
    assign(node, &TTreeNode::m_text, text);
}

void TNoteForest::SetImages(TTreeNode* node, int imageIndex, int selectedIndex) {
    if (node->m_imageIndex == imageIndex && node->m_selectedIndex == selectedIndex)
        return;
    node->m_imageIndex = imageIndex;
    node->m_selectedIndex = selectedIndex;
    if (node->Attached())
        Changed(node);
}

void TNoteForest::SetStateIndex(TTreeNode* node, int stateIndex) {
    assign(node, &TTreeNode::m_stateIndex, stateIndex);
}
void TNoteForest::SetExpanded(TTreeNode* node, bool expanded) {
    assign(node, &TTreeNode::m_expanded, expanded);
}
void TNoteForest::SetCut(TTreeNode* node, bool cut) {
    assign(node, &TTreeNode::m_cut, cut);
}
void TNoteForest::SetNotebook(TTreeNode* node, TNodeRoot* notebook) {
    assign(node, &TTreeNode::m_notebook, notebook);
}
void TNoteForest::SetNote(TTreeNode* node, TNodeData* note) {
    assign(node, &TTreeNode::m_note, note);
}

void TNoteForest::Changed(TTreeNode* node) {
    notify([&](ForestObserver* o) { o->nodeChanged(node); });
}

TNodeBatch TNoteForest::NewBatch() {
    TNodeBatch batch;
    batch.m_holder = std::make_unique<TTreeNode>();
    batch.m_holder->m_forest = this;
    return batch;
}

TTreeNode* TNoteForest::AddToBatch(TNodeBatch& batch, TTreeNode* parent, const QString& text) {
    TTreeNode* holder = parent ? parent : batch.m_holder.get();
    auto node = std::make_unique<TTreeNode>();
    node->m_text = text;
    node->m_forest = this;
    node->m_parent = holder;
    node->m_level = holder->m_level + 1;
    node->m_row = holder->Count();
    TTreeNode* raw = node.get();
    holder->m_children.push_back(std::move(node));
    return raw;
}

void TNoteForest::Attach(TNodeBatch&& batch, TTreeNode* parent, int row) {
    TTreeNode* source = batch.m_holder.get();
    if (!source || source->m_children.empty())
        return;
    TTreeNode* target = parent ? parent : &m_roots;
    row = std::clamp(row, 0, target->Count());
    const int count = source->Count();
    const bool visible = target->Attached();
    if (visible)
        notify([&](ForestObserver* o) { o->nodesAboutToBeInserted(parent, row, row + count - 1); });
    const int levelShift = target->m_level + 1 - 1; // batch top nodes sit at level 1
    for (auto& child : source->m_children)
        child->m_parent = target;
    target->m_children.insert(target->m_children.begin() + row,
                              std::make_move_iterator(source->m_children.begin()),
                              std::make_move_iterator(source->m_children.end()));
    source->m_children.clear();
    if (levelShift != 0)
        for (int i = row; i < row + count; ++i)
            setLevels(target->Child(i), target->m_level + 1);
    renumber(target, row);
    if (visible)
        notify([&](ForestObserver* o) { o->nodesInserted(parent, row, row + count - 1); });
}

void TNoteForest::BeginUpdate() {
    if (m_updateDepth++ == 0)
        for (ForestObserver* o : m_observers)
            o->forestAboutToBeReset();
}

void TNoteForest::EndUpdate() {
    if (m_updateDepth > 0 && --m_updateDepth == 0)
        for (ForestObserver* o : m_observers)
            o->forestReset();
}

void TNoteForest::addObserver(ForestObserver* observer) {
    m_observers.push_back(observer);
}

void TNoteForest::removeObserver(ForestObserver* observer) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

TTreeNode* PlacementParent(TTreeNode* previous, int level) {
    if (!previous)
        return nullptr;
    int depth = previous->Level();
    if (depth < level)
        return previous;
    TTreeNode* sibling = previous;
    while (depth > level && depth > 1) {
        sibling = sibling->Parent();
        --depth;
    }
    return sibling->Level() > 1 ? sibling->Parent() : nullptr;
}

} // namespace vlr
