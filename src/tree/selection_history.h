#pragma once
// The list of nodes the user selected, for going back and forward. An entry
// whose node is gone resolves to none; the tree forgets nodes as they leave.
#include <QList>
#include <QSet>

namespace vlr {

class TTreeNode;

class TSelectionHistory {
public:
    // At most this many entries remain after a recording.
    static constexpr int kMaxEntries = 39;

    // Appends the node after the current position; later entries are dropped
    // first, as a browser does, so that forward always retraces back.
    void Record(TTreeNode* node);
    // The removed node and everything below it resolve to none from now on.
    void Forget(const TTreeNode* removed);
    // After the forest was rebuilt: entries not in alive resolve to none.
    // Stale entries are only compared, never followed.
    void Keep(const QSet<const TTreeNode*>& alive);
    void Clear();

    int Count() const { return int(m_entries.size()); }
    int Position() const { return m_position; }
    TTreeNode* At(int i) const { return i >= 0 && i < m_entries.size() ? m_entries[i] : nullptr; }
    bool Navigating() const { return m_navigating; }
    void SetNavigating(bool on) { m_navigating = on; }
    // Every node the history refers to (entries of forgotten nodes excluded).
    QList<TTreeNode*> Nodes() const;

private:
    QList<TTreeNode*> m_entries;
    int m_position = -1;
    bool m_navigating = false;
};

} // namespace vlr
