#pragma once
// Undo depth and action identifiers on top of QTextDocument's undo stack,
// which has neither: each undo step the document records is paired with the
// kind of edit that made it, and only the newest `limit` steps may be undone.
#include "editor/richedit_types.h"

#include <QObject>
#include <QPointer>
#include <QTextDocument>
#include <deque>

namespace vlr {

class TRichUndoHistory final : public QObject {
public:
    explicit TRichUndoHistory(QObject* parent = nullptr);

    // Follows the document's new undo steps; the history starts empty.
    void attach(QTextDocument* doc);

    // 1 or less: single-level undo.
    void setLimit(int limit);
    int limit() const { return m_limit; }

    // The kind the next recorded step gets (unUnknown when nobody said).
    void setPending(TUndoName name) { m_pending = name; }
    TUndoName pending() const { return m_pending; }

    bool canUndo() const;
    bool canRedo() const;
    TUndoName undoName() const;
    TUndoName redoName() const;
    bool undo();
    bool redo();
    void clear();

private:
    void stepAdded();

    QPointer<QTextDocument> m_doc;
    int m_limit = 100;
    TUndoName m_pending = TUndoName::unUnknown;
    std::deque<TUndoName> m_undo;
    std::deque<TUndoName> m_redo;
};

// Sets the kind of the steps recorded while it lives.
class TUndoScope {
public:
    TUndoScope(TRichUndoHistory& history, TUndoName name) : m_history(history), m_saved(history.pending()) {
        history.setPending(name);
    }
    ~TUndoScope() { m_history.setPending(m_saved); }
    TUndoScope(const TUndoScope&) = delete;
    TUndoScope& operator=(const TUndoScope&) = delete;

private:
    TRichUndoHistory& m_history;
    TUndoName m_saved;
};

} // namespace vlr
