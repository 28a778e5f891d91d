// The control's mouse: link clicks, word-wise drag selection, protected selections, context menu.
#include "editor/custom_richedit.h"

#include "editor/protection.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>

namespace vlr {

// ---------------------------------------------------------------- mouse and links

int TMyCustomRichEdit::charAt(QPoint p) const {
    const int pos = cursorForPosition(p).position();
    const int length = TextLength();
    for (int cand : {pos - 1, pos}) {
        if (cand < 0 || cand >= length)
            continue;
        QTextCursor a(document()), b(document());
        a.setPosition(cand);
        b.setPosition(cand + 1);
        const QRect ra = cursorRect(a), rb = cursorRect(b);
        if (p.y() < ra.top() || p.y() > ra.bottom())
            continue;
        const int right = rb.top() == ra.top() ? rb.left() : ra.left() + fontMetrics().averageCharWidth();
        if (p.x() >= qMin(ra.left(), right) && p.x() < qMax(ra.left(), right))
            return cand;
    }
    return -1;
}

void TMyCustomRichEdit::linkMouse(QMouseEvent* e, int phase) {
    enum { Move, Press, Release, Double };
    const int pos = charAt(e->position().toPoint());
    const TCharRange r = pos >= 0 ? linkRangeAt(document(), pos, AutoURLDetect()) : TCharRange{};
    if (phase == Move)
        viewport()->setCursor(r.isEmpty() ? Qt::IBeamCursor : Qt::PointingHandCursor);
    if (r.isEmpty())
        return;
    if (OnURLMouseOver)
        OnURLMouseOver(this, r);
    auto click = [&](TMouseButton button, bool dbl) {
        if (OnURLClick)
            OnURLClick(this, r, GetTextRange(r.start, r.end), button, Qt::NoModifier, dbl);
    };
    const bool same = m_linkRemembered && r == m_linkRange;
    switch (phase) {
    case Press:
        if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton) {
            m_linkRange = r;
            m_linkRemembered = true;
            m_linkButton = e->button() == Qt::LeftButton ? TMouseButton::mbLeft : TMouseButton::mbRight;
        }
        break;
    case Release:
        if (!same)
            break;
        if (e->button() == Qt::LeftButton && m_linkButton == TMouseButton::mbLeft) {
            click(TMouseButton::mbLeft, false); // the range stays remembered
        } else if (e->button() == Qt::RightButton && m_linkButton == TMouseButton::mbRight) {
            m_linkRemembered = false;
            click(TMouseButton::mbRight, false);
        }
        break;
    case Double:
        if (same && e->button() == Qt::LeftButton) {
            m_linkRemembered = false;
            click(TMouseButton::mbLeft, true);
        }
        break;
    default:
        break;
    }
}

TCharRange TMyCustomRichEdit::wordRangeAt(int pos) const {
    QTextCursor c(document());
    c.setPosition(qBound(0, pos, TextLength()));
    c.select(QTextCursor::WordUnderCursor);
    return {c.selectionStart(), c.selectionEnd()};
}

void TMyCustomRichEdit::holdProtectedSelection(bool hold) {
    // A selection holding protected text may be dragged out as a copy, never
    // moved: while it may start a drag the text is not editable, which keeps
    // the move out of the offered drop actions.
    if (hold == m_holdingSelection)
        return;
    m_holdingSelection = hold;
    const Qt::TextInteractionFlags flags = textInteractionFlags();
    setTextInteractionFlags(hold ? flags & ~Qt::TextEditable : flags | Qt::TextEditable);
}

void TMyCustomRichEdit::mousePressEvent(QMouseEvent* e) {
    holdProtectedSelection(false);
    if (OnMouseDown)
        OnMouseDown(this, e);
    linkMouse(e, 1);
    if (e->button() == Qt::LeftButton && !isReadOnly()) {
        const QTextCursor c = textCursor();
        const int at = cursorForPosition(e->position().toPoint()).position();
        if (c.hasSelection() && at >= c.selectionStart() && at <= c.selectionEnd() && touchesProtected(c))
            holdProtectedSelection(true);
    }
    QTextEdit::mousePressEvent(e);
    m_dragSelecting = e->button() == Qt::LeftButton && !textCursor().hasSelection();
    m_dragAnchor = textCursor().position();
}

void TMyCustomRichEdit::mouseReleaseEvent(QMouseEvent* e) {
    if (OnMouseUp)
        OnMouseUp(this, e);
    linkMouse(e, 2);
    const QClipboard* clipboard = QApplication::clipboard();
    if (e->button() == Qt::MiddleButton && !isReadOnly() && clipboard->supportsSelection()) {
        // The middle-button paste of the primary selection, through the same
        // checks as any other paste.
        setTextCursor(cursorForPosition(e->position().toPoint()));
        pasteData(clipboard->mimeData(QClipboard::Selection), TUndoName::unPaste);
        e->accept();
        m_dragSelecting = false;
        return;
    }
    QTextEdit::mouseReleaseEvent(e);
    holdProtectedSelection(false);
    m_dragSelecting = false;
}

void TMyCustomRichEdit::mouseDoubleClickEvent(QMouseEvent* e) {
    if (OnDblClick)
        OnDblClick(this, e);
    linkMouse(e, 3);
    // Double-clicking an embedded object opens it, which counts as a change.
    const int pos = charAt(e->position().toPoint());
    if (pos >= 0 && e->button() == Qt::LeftButton) {
        QTextCursor c(document());
        c.setPosition(pos + 1);
        if (c.charFormat().isImageFormat())
            m_modified = true;
    }
    QTextEdit::mouseDoubleClickEvent(e);
    m_dragSelecting = false;
}

void TMyCustomRichEdit::mouseMoveEvent(QMouseEvent* e) {
    if (OnMouseMove)
        OnMouseMove(this, e);
    linkMouse(e, 0);
    QTextEdit::mouseMoveEvent(e);
    // A drag that ran inside the move ended with the button released.
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton))
        holdProtectedSelection(false);
    if (!m_dragSelecting || !m_wordSelection || !(e->buttons() & Qt::LeftButton))
        return;
    // Once the drag leaves the word it started in, whole words are selected.
    QTextCursor c = textCursor();
    const TCharRange anchorWord = wordRangeAt(m_dragAnchor);
    const int pos = c.position();
    if (anchorWord.isEmpty() || (pos >= anchorWord.start && pos <= anchorWord.end))
        return;
    const TCharRange here = wordRangeAt(pos);
    if (pos > anchorWord.end) {
        c.setPosition(anchorWord.start);
        c.setPosition(here.isEmpty() ? pos : qMax(pos, here.end), QTextCursor::KeepAnchor);
    } else {
        c.setPosition(anchorWord.end);
        c.setPosition(here.isEmpty() ? pos : qMin(pos, here.start), QTextCursor::KeepAnchor);
    }
    setTextCursor(c);
}

void TMyCustomRichEdit::contextMenuEvent(QContextMenuEvent* e) {
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(this, e->pos(), handled);
    if (handled)
        return;
    QMenu* menu = createStandardContextMenu(e->pos());
    // The standard entries go through the control's own undo, protection and paste.
    auto reroute = [&](const char* name, bool enabled, auto slot) {
        if (QAction* a = menu->findChild<QAction*>(QLatin1String(name))) {
            a->disconnect();
            a->setEnabled(enabled);
            connect(a, &QAction::triggered, this, slot);
        }
    };
    const bool editable = !isReadOnly();
    reroute("edit-undo", CanUndo(), [this] { Undo(); });
    reroute("edit-redo", CanRedo(), [this] { Redo(); });
    reroute("edit-cut", editable && textCursor().hasSelection(), [this] { CutToClipboard(); });
    reroute("edit-paste", editable && CanPaste(), [this] { PasteFromClipboard(); });
    reroute("edit-delete", editable && textCursor().hasSelection(), [this] {
        QTextCursor c = textCursor();
        if (!allowCursorEdit(c))
            return;
        TUndoScope scope(m_undo, TUndoName::unDelete);
        c.removeSelectedText();
    });
    menu->exec(e->globalPos());
    delete menu;
}

void TMyCustomRichEdit::focusOutEvent(QFocusEvent* e) {
    holdProtectedSelection(false);
    QTextEdit::focusOutEvent(e);
}

} // namespace vlr
