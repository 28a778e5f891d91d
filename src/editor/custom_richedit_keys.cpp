// The control's keys and input method: edits go through undo, protection and the text limit.
#include "editor/custom_richedit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace vlr {

// ---------------------------------------------------------------- keys

bool TMyCustomRichEdit::keyEditRange(QKeyEvent* e, int& start, int& end, TUndoName& kind) const {
    const QTextCursor c = textCursor();
    start = c.selectionStart();
    end = c.selectionEnd();
    const bool sel = c.hasSelection();
    auto moved = [&](QTextCursor::MoveOperation op) {
        if (sel)
            return;
        QTextCursor t = c;
        t.movePosition(op, QTextCursor::KeepAnchor);
        start = qMin(t.anchor(), t.position());
        end = qMax(t.anchor(), t.position());
    };
    kind = TUndoName::unDelete;
    if (e->matches(QKeySequence::DeleteStartOfWord)) {
        moved(QTextCursor::PreviousWord);
        return true;
    }
    if (e->matches(QKeySequence::DeleteEndOfWord)) {
        moved(QTextCursor::NextWord);
        return true;
    }
    if (e->matches(QKeySequence::DeleteEndOfLine)) {
        moved(QTextCursor::EndOfBlock);
        return true;
    }
    if (e->matches(QKeySequence::DeleteCompleteLine)) {
        QTextCursor t = c;
        t.movePosition(QTextCursor::StartOfLine);
        start = qMin(start, t.position());
        t.movePosition(QTextCursor::EndOfLine);
        end = qMax(end, t.position());
        return true;
    }
    if (e->key() == Qt::Key_Backspace && !(e->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        moved(QTextCursor::PreviousCharacter);
        return true;
    }
    if (e->matches(QKeySequence::Delete) ||
        (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier)) {
        moved(QTextCursor::NextCharacter);
        return true;
    }
    kind = TUndoName::unTyping;
    if (e->matches(QKeySequence::InsertParagraphSeparator) || e->matches(QKeySequence::InsertLineSeparator))
        return true;
    const QString text = e->text();
    if (text.isEmpty() || !(text[0].isPrint() || (text[0] == u'\t' && !tabChangesFocus())))
        return false;
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier) && !(e->modifiers() & Qt::AltModifier))
        return false;
    if (!sel && overwriteMode() && !c.atBlockEnd())
        end = start + 1;
    return true;
}

void TMyCustomRichEdit::keyPressEvent(QKeyEvent* e) {
    holdProtectedSelection(false);
    int key = e->key();
    if (OnKeyDown) {
        OnKeyDown(this, key, e->modifiers());
        if (key == 0) {
            e->accept();
            return;
        }
    }
    // These go through the control's own undo depth, protection and limits.
    static const std::pair<QKeySequence::StandardKey, void (TMyCustomRichEdit::*)()> commands[] = {
        {QKeySequence::Undo, &TMyCustomRichEdit::Undo},
        {QKeySequence::Redo, &TMyCustomRichEdit::Redo},
        {QKeySequence::Cut, &TMyCustomRichEdit::CutToClipboard},
        {QKeySequence::Paste, &TMyCustomRichEdit::PasteFromClipboard},
    };
    for (const auto& [sequence, command] : commands) {
        if (e->matches(sequence)) {
            (this->*command)();
            e->accept();
            return;
        }
    }
    if (e->key() == Qt::Key_Insert && e->modifiers() == Qt::NoModifier) {
        setOverwriteMode(!overwriteMode());
        e->accept();
        return;
    }
    int start = 0, end = 0;
    TUndoName kind = TUndoName::unUnknown;
    if (isReadOnly() || !keyEditRange(e, start, end, kind)) {
        QTextEdit::keyPressEvent(e);
        return;
    }
    QString text = e->text();
    if (kind == TUndoName::unTyping && !text.isEmpty() && OnKeyPress) {
        QChar ch = text[0];
        OnKeyPress(this, ch);
        if (ch.isNull()) {
            e->accept();
            return;
        }
        text[0] = ch;
    }
    e->accept();
    if (!allowEdit(start, end))
        return;
    if (kind == TUndoName::unTyping && !fitsLimit(qMax<qsizetype>(1, text.size()), end - start)) {
        QApplication::beep();
        return;
    }
    TUndoScope scope(m_undo, kind);
    if (text != e->text()) {
        QKeyEvent changed(e->type(), e->key(), e->modifiers(), text, e->isAutoRepeat(), ushort(e->count()));
        QTextEdit::keyPressEvent(&changed);
    } else {
        QTextEdit::keyPressEvent(e);
    }
}

void TMyCustomRichEdit::keyReleaseEvent(QKeyEvent* e) {
    int key = e->key();
    if (OnKeyUp) {
        OnKeyUp(this, key, e->modifiers());
        if (key == 0) {
            e->accept();
            return;
        }
    }
    QTextEdit::keyReleaseEvent(e);
}

void TMyCustomRichEdit::inputMethodEvent(QInputMethodEvent* e) {
    if (!isReadOnly() && (!e->commitString().isEmpty() || e->replacementLength() > 0)) {
        const QTextCursor c = textCursor();
        int start = c.selectionStart(), end = c.selectionEnd();
        if (e->replacementLength() > 0) {
            start = c.position() + e->replacementStart();
            end = start + e->replacementLength();
        }
        if (!c.hasSelection() && overwriteMode() && !c.atBlockEnd() && e->replacementLength() == 0)
            end = start + 1;
        if (!allowEdit(start, end) || !fitsLimit(e->commitString().size(), end - start)) {
            // Refused: the composition is dropped, the text stays as it was.
            QInputMethodEvent cancel;
            QTextEdit::inputMethodEvent(&cancel);
            e->accept();
            return;
        }
        TUndoScope scope(m_undo, TUndoName::unTyping);
        QTextEdit::inputMethodEvent(e);
        return;
    }
    QTextEdit::inputMethodEvent(e);
}

} // namespace vlr
