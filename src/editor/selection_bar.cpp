#include "editor/selection_bar.h"

#include "editor/custom_richedit.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextCursor>

namespace vlr {

TSelectionBar::TSelectionBar(TMyCustomRichEdit* editor) : QWidget(editor), m_editor(editor) {
    // A right-pointing arrow tells the user the strip selects lines.
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QTextCursor TSelectionBar::lineAt(int y) const {
    QTextCursor c = m_editor->cursorForPosition(QPoint(0, y));
    c.movePosition(QTextCursor::StartOfLine);
    c.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
    return c;
}

void TSelectionBar::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    QTextCursor line = lineAt(e->position().toPoint().y());
    // The line's end takes the paragraph mark when the line ends a paragraph.
    if (line.atBlockEnd() && !line.atEnd())
        line.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    m_anchorLineStart = line.selectionStart();
    m_anchorLineEnd = line.selectionEnd();
    m_editor->setTextCursor(line);
    m_editor->setFocus(Qt::MouseFocusReason);
}

void TSelectionBar::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton) || m_anchorLineStart < 0)
        return;
    const QTextCursor line = lineAt(e->position().toPoint().y());
    QTextCursor c = m_editor->textCursor();
    if (line.selectionStart() >= m_anchorLineStart) {
        c.setPosition(m_anchorLineStart);
        c.setPosition(line.selectionEnd(), QTextCursor::KeepAnchor);
    } else {
        c.setPosition(m_anchorLineEnd);
        c.setPosition(line.selectionStart(), QTextCursor::KeepAnchor);
    }
    m_editor->setTextCursor(c);
}

void TSelectionBar::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    QTextCursor c = m_editor->cursorForPosition(QPoint(0, e->position().toPoint().y()));
    c.movePosition(QTextCursor::StartOfBlock);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    m_editor->setTextCursor(c);
}

void TSelectionBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_editor->viewport()->palette().color(QPalette::Base));
}

} // namespace vlr
