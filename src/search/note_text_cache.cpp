#include "search/note_text_cache.h"

#include "storage/notebook_service.h"

namespace vlr {

namespace {

// Bookkeeping of one entry beside its characters: list node, hash slot.
constexpr qint64 kEntryOverhead = 128;

} // namespace

TNoteTextCache::TNoteTextCache(TNotebookService& service, qint64 budgetBytes, QObject* parent)
    : QObject(parent), m_budget(budgetBytes) {
    connect(&service, &TNotebookService::noteBodyChanged, this, [this](TNodeData* note) { Drop(*note); });
    connect(&service, &TNotebookService::noteAboutToBeDeleted, this,
            [this](TNodeData* note) { dropSubtree(*note); });
    connect(&service, &TNotebookService::notebookAboutToClose, this,
            [this](TNodeRoot* nb) { DropNotebook(*nb); });
    connect(&service, &TNotebookService::notebookLocked, this, [this](TNodeRoot* nb) { DropNotebook(*nb); });
}

TNoteTextCache::~TNoteTextCache() = default;

TNoteTextCache::Stamp TNoteTextCache::stampOf(const TNodeData& note) {
    Stamp s;
    s.edited = note.Loaded && !note.Clean;
    if (s.edited) {
        s.bytes = note.Body.constData();
        s.size = note.Body.size();
    } else {
        s.offset = note.Record.Offset();
        s.size = note.Record.Size();
        s.saved = note.Record.Saved();
    }
    return s;
}

std::optional<QString> TNoteTextCache::Find(const TNodeData& note) {
    const auto found = m_index.constFind(&note);
    if (found == m_index.constEnd())
        return std::nullopt;
    const Lru::iterator it = *found;
    if (!(it->stamp == stampOf(note))) {
        erase(it);
        return std::nullopt;
    }
    m_lru.splice(m_lru.begin(), m_lru, it);
    return it->text;
}

void TNoteTextCache::Insert(TNodeData& note, TNodeRoot& notebook, const QString& text) {
    Drop(note);
    const qint64 cost = qint64(text.capacity()) * qint64(sizeof(QChar)) + kEntryOverhead;
    if (cost > m_budget || notebook.IsLocked())
        return;
    m_lru.push_front({&note, &notebook, text, stampOf(note), cost});
    m_index.insert(&note, m_lru.begin());
    m_bytes += cost;
    while (m_bytes > m_budget && !m_lru.empty())
        erase(std::prev(m_lru.end()));
}

void TNoteTextCache::erase(Lru::iterator it) {
    m_bytes -= it->cost;
    m_index.remove(it->note);
    m_lru.erase(it);
}

void TNoteTextCache::Drop(const TNodeData& note) {
    const auto found = m_index.constFind(&note);
    if (found != m_index.constEnd())
        erase(*found);
}

void TNoteTextCache::dropSubtree(const TNodeData& note) {
    Drop(note);
    if (note.TreeNode)
        ForEachDescendant(note.TreeNode, [this](TTreeNode* n) {
            if (n->Note())
                Drop(*n->Note());
        });
}

void TNoteTextCache::DropNotebook(const TNodeRoot& notebook) {
    for (auto it = m_lru.begin(); it != m_lru.end();) {
        const auto next = std::next(it);
        if (it->notebook == &notebook)
            erase(it);
        it = next;
    }
}

void TNoteTextCache::Clear() {
    m_lru.clear();
    m_index.clear();
    m_bytes = 0;
}

} // namespace vlr
