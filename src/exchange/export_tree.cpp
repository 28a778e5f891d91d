#include "exchange/export_tree.h"

#include "storage/notebook_service.h"

#include <QStringList>

namespace vlr {

QString TExportNode::Title() const {
    return m_source ? m_source->Text() : QString();
}

void TExportTree::Clear() {
    m_root.reset();
    m_notebook = nullptr;
    m_selection = nullptr;
    m_count = 0;
}

TExportNode* TExportTree::add(TExportNode* parent, TTreeNode* source, int mark) {
    auto node = std::make_unique<TExportNode>();
    node->m_parent = parent;
    node->m_source = source;
    node->m_note = source->Note();
    node->m_mark = mark;
    node->m_row = parent->Count();
    TExportNode* raw = node.get();
    parent->m_children.push_back(std::move(node));
    ++m_count;
    return raw;
}

void TExportTree::copyChildren(TExportNode* into, TTreeNode* from, bool recurse) {
    // Depth-first without recursion: notebooks may be deep.
    std::vector<std::pair<TExportNode*, TTreeNode*>> stack{{into, from}};
    while (!stack.empty()) {
        auto [target, source] = stack.back();
        stack.pop_back();
        for (int i = 0; i < source->Count(); ++i) {
            TTreeNode* child = source->Child(i);
            if (!child->Note())
                continue;
            TExportNode* copy = add(target, child, emMarked);
            if (recurse && child->HasChildren())
                stack.emplace_back(copy, child);
        }
    }
}

void TExportTree::Build(TTreeNode* selection, Command command, bool recurse) {
    Clear();
    if (!selection)
        return;
    TTreeNode* rootNode = selection->Root();
    m_notebook = TNotebookService::NotebookOf(selection);
    m_selection = selection;
    m_root = std::make_unique<TExportNode>();
    m_root->m_source = rootNode;
    m_count = 1;
    TExportNode* under = m_root.get();
    if (selection->Note())
        under = add(m_root.get(), selection, emMarked);
    if (command == Command::ExportNotes)
        copyChildren(under, selection, recurse);
}

void TExportTree::Toggle(TExportNode* node) {
    if (!node || node->IsRoot())
        return;
    node->m_mark = node->m_mark == emMarked ? emUnmarked : emMarked;
}

void TExportTree::SetMarks(TExportNode* node, TExportMark mark) {
    if (!node)
        return;
    std::vector<TExportNode*> stack{node};
    while (!stack.empty()) {
        TExportNode* n = stack.back();
        stack.pop_back();
        if (!n->IsRoot())
            n->m_mark = mark;
        for (const auto& child : n->m_children)
            stack.push_back(child.get());
    }
}

void TExportTree::ForEach(const std::function<void(TExportNode*, int)>& fn) const {
    if (!m_root)
        return;
    int position = 0;
    std::vector<TExportNode*> stack{m_root.get()};
    while (!stack.empty()) {
        TExportNode* n = stack.back();
        stack.pop_back();
        fn(n, position++);
        for (auto it = n->m_children.rbegin(); it != n->m_children.rend(); ++it)
            stack.push_back(it->get());
    }
}

int TExportTree::MarkedCount() const {
    int count = 0;
    ForEach([&](TExportNode* n, int) { count += n->Marked() ? 1 : 0; });
    return count;
}

QString TExportTree::PathOf(const TExportNode* node) {
    QStringList titles;
    for (const TExportNode* n = node; n; n = n->Parent())
        titles.prepend(n->Title());
    return titles.join(QStringLiteral(" - "));
}

} // namespace vlr
