// The control's character and paragraph format access for the attribute classes.
#include "editor/custom_richedit.h"

#include "editor/font_size_step.h"

#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

namespace vlr {

void TMyCustomRichEdit::ChangeFontSize(int step) {
    if (step == 0)
        return;
    const qreal defaultSize = document()->defaultFont().pointSizeF();
    changeCharFormats(TAttributeType::atSelected, [&](QTextCharFormat& f) {
        const qreal size = f.fontPointSize() > 0 ? f.fontPointSize() : defaultSize;
        f.setFontPointSize(steppedFontSize(qRound(size), step));
    });
}

// ---------------------------------------------------------------- attribute access

QTextCursor TMyCustomRichEdit::attributeCursor(TAttributeType type) const {
    // Word attributes without a selection cover the word around the caret.
    QTextCursor c = textCursor();
    if (type == TAttributeType::atWord && !c.hasSelection()) {
        const TCharRange w = wordRangeAt(c.position());
        if (!w.isEmpty()) {
            c.setPosition(w.start);
            c.setPosition(w.end, QTextCursor::KeepAnchor);
        }
    }
    return c;
}

QList<QTextCharFormat> TMyCustomRichEdit::charFormatsOf(TAttributeType type) const {
    if (type == TAttributeType::atDefaultText)
        return {m_defaultFormat};
    const QTextCursor c = attributeCursor(type);
    if (!c.hasSelection())
        return {type == TAttributeType::atSelected ? currentCharFormat() : c.charFormat()};
    QList<QTextCharFormat> out;
    QSet<int> seen;
    const int start = c.selectionStart(), end = c.selectionEnd();
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() <= start || f.position() >= end)
                continue;
            if (!seen.contains(f.charFormatIndex())) {
                seen.insert(f.charFormatIndex());
                out.append(f.charFormat());
            }
        }
    }
    if (out.isEmpty())
        out.append(c.charFormat());
    return out;
}

void TMyCustomRichEdit::changeCharFormats(TAttributeType type,
                                          const std::function<void(QTextCharFormat&)>& change) {
    if (type == TAttributeType::atDefaultText || m_plainText) {
        // Plain text has one format: the default one, everywhere.
        change(m_defaultFormat);
        applyDefaultFormat();
        return;
    }
    const QTextCursor c = attributeCursor(type);
    if (!c.hasSelection()) {
        QTextCharFormat f = currentCharFormat();
        change(f);
        setCurrentCharFormat(f);
        return;
    }
    struct Segment {
        int start, end;
        QTextCharFormat format;
    };
    QList<Segment> segments;
    QList<int> emptyBlocks;
    const int start = c.selectionStart(), end = c.selectionEnd();
    // Formatting protected text is a change of it too.
    if (!allowEdit(start, end))
        return;
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int s = qMax(start, f.position()), e = qMin(end, f.position() + f.length());
            if (s < e)
                segments.append({s, e, f.charFormat()});
        }
        if (b.length() == 1)
            emptyBlocks.append(b.position());
    }
    QTextCursor edit(document());
    edit.beginEditBlock();
    // An empty paragraph's mark keeps the attributes new text there gets.
    for (int pos : emptyBlocks) {
        edit.setPosition(pos);
        QTextCharFormat f = edit.blockCharFormat();
        change(f);
        edit.setBlockCharFormat(f);
    }
    for (Segment& s : segments) {
        change(s.format);
        edit.setPosition(s.start);
        edit.setPosition(s.end, QTextCursor::KeepAnchor);
        edit.setCharFormat(s.format);
    }
    edit.endEditBlock();
}

bool TMyCustomRichEdit::linkCovers(TAttributeType type) const {
    if (type == TAttributeType::atDefaultText)
        return false;
    QTextCursor c = textCursor();
    int start = c.selectionStart(), end = c.selectionEnd();
    if (type == TAttributeType::atWord && start == end) {
        const TCharRange w = wordRangeAt(start);
        start = w.start;
        end = w.end;
    }
    if (start == end) {
        if (start == 0)
            return false;
        --start; // the character whose attributes typing continues
    }
    const TCharRange r = linkRangeAt(document(), start, AutoURLDetect());
    return !r.isEmpty() && r.end >= end;
}

QList<QTextBlock> TMyCustomRichEdit::selectedBlocks() const {
    const QTextCursor c = textCursor();
    const int start = c.selectionStart(), end = c.selectionEnd();
    QList<QTextBlock> out;
    for (QTextBlock b = document()->findBlock(start); b.isValid(); b = b.next()) {
        if (b.position() > end || (b.position() == end && start != end && !out.isEmpty()))
            break;
        out.append(b);
    }
    return out;
}

void TMyCustomRichEdit::changeBlocks(const std::function<void(QTextCursor&)>& change) {
    const QList<QTextBlock> blocks = selectedBlocks();
    if (blocks.isEmpty())
        return;
    const int start = blocks.first().position();
    const int end = blocks.last().position() + blocks.last().length() - 1;
    if (start < end && !allowEdit(start, end))
        return;
    QTextCursor c = textCursor();
    c.beginEditBlock();
    change(c);
    c.endEditBlock();
}

} // namespace vlr
