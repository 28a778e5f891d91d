#include "tree/selection_history.h"

#include "storage/note_forest.h"

namespace vlr {

void TSelectionHistory::Record(TTreeNode* node) {
    if (m_position + 1 < m_entries.size())
        m_entries.resize(m_position + 1);
    m_entries.append(node);
    m_position = int(m_entries.size()) - 1;
    while (m_entries.size() > kMaxEntries) {
        m_entries.removeFirst();
        --m_position;
    }
}

void TSelectionHistory::Forget(const TTreeNode* removed) {
    for (TTreeNode*& entry : m_entries)
        if (entry && (entry == removed || entry->HasAsParent(removed)))
            entry = nullptr;
}

void TSelectionHistory::Keep(const QSet<const TTreeNode*>& alive) {
    for (TTreeNode*& entry : m_entries)
        if (entry && !alive.contains(entry))
            entry = nullptr;
}

void TSelectionHistory::Clear() {
    m_entries.clear();
    m_position = -1;
    m_navigating = false;
}

QList<TTreeNode*> TSelectionHistory::Nodes() const {
    QList<TTreeNode*> nodes;
    for (TTreeNode* entry : m_entries)
        if (entry)
            nodes.append(entry);
    return nodes;
}

} // namespace vlr
