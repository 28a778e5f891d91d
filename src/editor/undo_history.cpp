#include "editor/undo_history.h"

#include <QTextDocument>

namespace vlr {

TRichUndoHistory::TRichUndoHistory(QObject* parent) : QObject(parent) {}

void TRichUndoHistory::attach(QTextDocument* doc) {
    if (m_doc)
        disconnect(m_doc, nullptr, this, nullptr);
    m_doc = doc;
    clear();
    if (doc)
        connect(doc, &QTextDocument::undoCommandAdded, this, &TRichUndoHistory::stepAdded);
}

void TRichUndoHistory::setLimit(int limit) {
    m_limit = limit;
    const size_t depth = size_t(qMax(1, limit));
    while (m_undo.size() > depth)
        m_undo.pop_front();
    while (m_redo.size() > depth)
        m_redo.pop_front();
}

void TRichUndoHistory::stepAdded() {
    m_redo.clear();
    m_undo.push_back(m_pending);
    if (m_undo.size() > size_t(qMax(1, m_limit)))
        m_undo.pop_front();
}

bool TRichUndoHistory::canUndo() const {
    return !m_undo.empty() && m_doc && m_doc->isUndoAvailable();
}

bool TRichUndoHistory::canRedo() const {
    return !m_redo.empty() && m_doc && m_doc->isRedoAvailable();
}

TUndoName TRichUndoHistory::undoName() const {
    return canUndo() ? m_undo.back() : TUndoName::unUnknown;
}

TUndoName TRichUndoHistory::redoName() const {
    return canRedo() ? m_redo.back() : TUndoName::unUnknown;
}

bool TRichUndoHistory::undo() {
    if (!canUndo())
        return false;
    const TUndoName name = m_undo.back();
    m_undo.pop_back();
    m_doc->undo();
    m_redo.push_back(name);
    return true;
}

bool TRichUndoHistory::redo() {
    if (!canRedo())
        return false;
    const TUndoName name = m_redo.back();
    m_redo.pop_back();
    m_doc->redo();
    m_undo.push_back(name);
    return true;
}

void TRichUndoHistory::clear() {
    m_undo.clear();
    m_redo.clear();
    if (m_doc)
        m_doc->clearUndoRedoStacks();
}

} // namespace vlr
