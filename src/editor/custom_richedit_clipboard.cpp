// The control's clipboard commands, paste special and drag-and-drop.
#include "editor/custom_richedit.h"

#include "editor/clipboard_formats.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

namespace vlr {

// ---------------------------------------------------------------- clipboard and drops

void TMyCustomRichEdit::CopyToClipboard() {
    copy();
}

void TMyCustomRichEdit::CutToClipboard() {
    QTextCursor c = textCursor();
    if (isReadOnly() || !c.hasSelection() || !allowCursorEdit(c))
        return;
    TUndoScope scope(m_undo, TUndoName::unCut);
    cut();
}

void TMyCustomRichEdit::PasteFromClipboard() {
    pasteData(QApplication::clipboard()->mimeData(), TUndoName::unPaste);
}

void TMyCustomRichEdit::pasteData(const QMimeData* data, TUndoName kind) {
    if (isReadOnly() || !data || !canPasteData(data, m_plainText))
        return;
    const QTextCursor c = textCursor();
    if (!allowCursorEdit(c))
        return;
    if (!fitsLimit(mimeTextLength(data, m_plainText), c.selectionEnd() - c.selectionStart())) {
        QApplication::beep();
        return;
    }
    TUndoScope scope(m_undo, kind);
    insertFromMimeData(data);
}

QList<TPasteSpecialEntry> TMyCustomRichEdit::PasteSpecialEntries() const {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data)
        return {};
    QList<TPasteSpecialEntry> entries = pasteSpecialEntries(data);
    if (m_plainText)
        entries.removeIf([](const TPasteSpecialEntry& e) { return e.format != TPasteFormat::pfText; });
    return entries;
}

bool TMyCustomRichEdit::PasteSpecial(TPasteFormat format) {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (isReadOnly() || !data)
        return false;
    if (m_plainText && format != TPasteFormat::pfText)
        return false;
    QTextCursor c = textCursor();
    if (!allowCursorEdit(c))
        return false;
    if (!fitsLimit(mimeTextLength(data, format == TPasteFormat::pfText),
                   c.selectionEnd() - c.selectionStart())) {
        QApplication::beep();
        return false;
    }
    TUndoScope scope(m_undo, TUndoName::unPaste);
    c.beginEditBlock();
    const bool ok = insertMimeDataAs(data, c, format);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
    return ok;
}

QMimeData* TMyCustomRichEdit::createMimeDataFromSelection() const {
    return mimeDataForSelection(textCursor());
}

bool TMyCustomRichEdit::canInsertFromMimeData(const QMimeData* source) const {
    return canPasteData(source, m_plainText);
}

void TMyCustomRichEdit::insertFromMimeData(const QMimeData* source) {
    QTextCursor c = textCursor();
    c.beginEditBlock();
    insertMimeData(source, c, m_plainText);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

namespace {

Qt::DropAction qtAction(TDropEffect effect) {
    switch (effect) {
    case TDropEffect::deCopy:
        return Qt::CopyAction;
    case TDropEffect::deLink:
        return Qt::LinkAction;
    case TDropEffect::deMove:
        return Qt::MoveAction;
    case TDropEffect::deNone:
        break;
    }
    return Qt::IgnoreAction;
}

} // namespace

TDropEffect TMyCustomRichEdit::dropEffectOf(const QDropEvent* e) const {
    const auto mods = e->modifiers();
    return dropEffectFor(mods & Qt::ControlModifier, mods & Qt::ShiftModifier, m_reverseDrop);
}

void TMyCustomRichEdit::dragEnterEvent(QDragEnterEvent* e) {
    dragMoveEvent(e);
}

void TMyCustomRichEdit::dragMoveEvent(QDragMoveEvent* e) {
    // The cursor shows the effect the keys give, as the drop will do.
    if (e->type() == QEvent::DragEnter)
        QTextEdit::dragEnterEvent(static_cast<QDragEnterEvent*>(e));
    else
        QTextEdit::dragMoveEvent(e);
    if (e->isAccepted()) {
        e->setDropAction(qtAction(dropEffectOf(e)));
        e->accept();
    }
}

void TMyCustomRichEdit::dropEvent(QDropEvent* e) {
    const QMimeData* data = e->mimeData();
    if (isReadOnly() || !canPasteData(data, m_plainText)) {
        e->ignore();
        return;
    }
    const TDropEffect effect = dropEffectOf(e);
    const bool moveOwn = effect == TDropEffect::deMove && e->source() == this;
    const int at = cursorForPosition(e->position().toPoint()).position();
    const QTextCursor own = textCursor();
    if ((moveOwn && own.hasSelection() && !allowCursorEdit(own)) || !allowEdit(at, at)) {
        e->ignore();
        return;
    }
    if (!fitsLimit(mimeTextLength(data, m_plainText),
                   moveOwn ? own.selectionEnd() - own.selectionStart() : 0)) {
        QApplication::beep();
        e->ignore();
        return;
    }
    TUndoScope scope(m_undo, TUndoName::unDragDrop);
    e->setDropAction(qtAction(effect));
    QTextEdit::dropEvent(e);
}

} // namespace vlr
