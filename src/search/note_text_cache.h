#pragma once
// Plain text of notes already searched, so that searching the same notes
// again converts nothing. An entry goes when its note's body changes, when
// the note is deleted, and when its notebook closes or locks (a locked
// notebook's text is never kept); the least recently used go first when the
// texts pass the budget. Interface thread only.
#include <QHash>
#include <QObject>
#include <QString>

#include <list>
#include <optional>

namespace vlr {

class TNodeData;
class TNodeRoot;
class TNotebookService;

class TNoteTextCache : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kDefaultBudget = qint64(256) << 20;

    explicit TNoteTextCache(TNotebookService& service, qint64 budgetBytes = kDefaultBudget,
                            QObject* parent = nullptr);
    ~TNoteTextCache() override;

    // The note's text when it was kept for the body the note has now.
    std::optional<QString> Find(const TNodeData& note);
    // Keeps the text converted from the note's present body.
    void Insert(TNodeData& note, TNodeRoot& notebook, const QString& text);
    void Drop(const TNodeData& note);
    void DropNotebook(const TNodeRoot& notebook);
    void Clear();

    // Memory held by the kept texts (characters and bookkeeping).
    qint64 Bytes() const { return m_bytes; }
    int Count() const { return int(m_index.size()); }
    qint64 Budget() const { return m_budget; }

private:
    // Which body a note has now: the stored one (where it lies and when it
    // was written) for a clean or unread note, the edited bytes otherwise.
    // A text whose stamp differs was converted from another body; the stamp
    // catches changes that reach a body without the service's signal.
    struct Stamp {
        bool edited = false;
        const char* bytes = nullptr;
        qsizetype size = 0;
        qint32 offset = 0;
        double saved = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        const TNodeData* note;
        const TNodeRoot* notebook;
        QString text;
        Stamp stamp;
        qint64 cost;
    };
    using Lru = std::list<Entry>;

    static Stamp stampOf(const TNodeData& note);
    void erase(Lru::iterator it);
    void dropSubtree(const TNodeData& note);

    qint64 m_budget;
    qint64 m_bytes = 0;
    Lru m_lru; // most recently used first
    QHash<const TNodeData*, Lru::iterator> m_index;
};

} // namespace vlr
