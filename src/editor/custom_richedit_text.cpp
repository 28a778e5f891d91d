// The control's text, selection, lines, scrolling and text queries.
#include "editor/custom_richedit.h"

#include "core/codepage.h"
#include "editor/clipboard_formats.h"
#include "editor/find_text.h"
#include "editor/format_range.h"
#include "rtf/properties.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace vlr {

namespace {

QString rangeText(QString text) {
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

QString normalizedLineEnds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

// ---------------------------------------------------------------- text and selection

int TMyCustomRichEdit::TextLength() const {
    return document()->characterCount() - 1;
}

QString TMyCustomRichEdit::Text() const {
    return document()->toPlainText();
}

int TMyCustomRichEdit::SelStart() const {
    return textCursor().selectionStart();
}

void TMyCustomRichEdit::SetSelStart(int pos) {
    SetSelection(pos, pos, true);
}

int TMyCustomRichEdit::SelLength() const {
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TMyCustomRichEdit::SetSelLength(int length) {
    const int start = SelStart();
    SetSelection(start, start + qMax(0, length), true);
}

void TMyCustomRichEdit::GetSelection(int& start, int& end) const {
    const QTextCursor c = textCursor();
    start = c.selectionStart();
    end = c.selectionEnd();
}

void TMyCustomRichEdit::SetSelection(int start, int end, bool scrollCaret) {
    const int length = TextLength();
    QTextCursor c = textCursor();
    if (start < 0) {
        // No selection: the caret stays at the selection's end.
        c.setPosition(c.selectionEnd());
    } else {
        if (end < 0)
            end = length;
        c.setPosition(qBound(0, start, length));
        c.setPosition(qBound(0, end, length), QTextCursor::KeepAnchor);
    }
    setTextCursor(c);
    if (scrollCaret)
        ensureCursorVisible();
}

QString TMyCustomRichEdit::SelText() const {
    return rangeText(textCursor().selectedText());
}

bool TMyCustomRichEdit::SetSelText(const QString& text) {
    QTextCursor c = textCursor();
    const QString t = normalizedLineEnds(text);
    if (!allowCursorEdit(c))
        return false;
    if (!fitsLimit(t.size(), c.selectionEnd() - c.selectionStart())) {
        QApplication::beep();
        return false;
    }
    const int start = c.selectionStart();
    c.beginEditBlock();
    c.insertText(t);
    c.endEditBlock();
    SetSelection(start, start + int(t.size()), true);
    return true;
}

void TMyCustomRichEdit::InsertText(const QString& text) {
    QTextCursor c = textCursor();
    const QString t = normalizedLineEnds(text);
    if (!allowCursorEdit(c))
        return;
    if (!fitsLimit(t.size(), c.selectionEnd() - c.selectionStart())) {
        QApplication::beep();
        return;
    }
    c.beginEditBlock();
    c.insertText(t);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

int TMyCustomRichEdit::InsertSymbol(int code, const QString& fontName, int charset) {
    changeCharFormats(TAttributeType::atSelected, [&](QTextCharFormat& f) {
        f.setFontFamilies(QStringList{fontName.left(31)});
        f.setProperty(rtf::PropFontCharset, charset);
    });
    QString ch;
    if (code >= 0 && code < 256 && charset != 2)
        ch = fromAnsi(QByteArray(1, char(code)));
    else
        ch = QString(QChar(char16_t(code & 0xFFFF)));
    InsertText(ch);
    return textCursor().position();
}

QString TMyCustomRichEdit::GetTextRange(int start, int end) const {
    const int length = TextLength();
    if (end < 0)
        end = length;
    start = qBound(0, start, length);
    end = qBound(start, end, length);
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    return rangeText(c.selectedText());
}

void TMyCustomRichEdit::layoutThrough(int pos) const {
    // Line numbers come from the layout, which is built on demand.
    auto* layout = document()->documentLayout();
    if (pos < 0)
        layout->documentSize();
    else
        layout->blockBoundingRect(document()->findBlock(pos));
}

namespace {

// Lines a paragraph takes on screen (at least one).
int linesOf(const QTextBlock& b) {
    const QTextLayout* tl = b.layout();
    return tl && tl->lineCount() > 0 ? tl->lineCount() : 1;
}

} // namespace

int TMyCustomRichEdit::LineCount() const {
    layoutThrough(-1);
    int count = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        count += linesOf(b);
    return qMax(1, count);
}

QTextBlock TMyCustomRichEdit::laidOutBlockAt(int& pos) const {
    // A negative position means the end of the selection.
    if (pos < 0)
        pos = textCursor().selectionEnd();
    pos = qBound(0, pos, TextLength());
    layoutThrough(pos);
    return document()->findBlock(pos);
}

int TMyCustomRichEdit::LineFromChar(int pos) const {
    const QTextBlock block = laidOutBlockAt(pos);
    if (!block.isValid())
        return 0;
    int line = 0;
    for (QTextBlock b = document()->begin(); b.isValid() && b != block; b = b.next())
        line += linesOf(b);
    if (const QTextLayout* tl = block.layout(); tl && tl->lineCount() > 0) {
        const QTextLine l = tl->lineForTextPosition(pos - block.position());
        if (l.isValid())
            line += l.lineNumber();
    }
    return line;
}

int TMyCustomRichEdit::GetLineIndex(int line) const {
    if (line < 0)
        line = LineFromChar(-1);
    layoutThrough(-1);
    int first = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        const int n = linesOf(b);
        if (line < first + n) {
            const QTextLayout* tl = b.layout();
            const int inBlock = line - first;
            if (tl && inBlock < tl->lineCount())
                return b.position() + tl->lineAt(inBlock).textStart();
            return b.position();
        }
        first += n;
    }
    return -1;
}

int TMyCustomRichEdit::GetLineLength(int pos) const {
    const QTextBlock block = laidOutBlockAt(pos);
    if (!block.isValid())
        return 0;
    const QTextLayout* tl = block.layout();
    if (tl && tl->lineCount() > 0) {
        const QTextLine l = tl->lineForTextPosition(pos - block.position());
        if (l.isValid())
            return qMin(l.textLength(), block.length() - 1 - l.textStart());
    }
    return block.length() - 1;
}

QPoint TMyCustomRichEdit::CaretPos() const {
    const int pos = textCursor().selectionEnd();
    const int line = LineFromChar(pos);
    const int start = GetLineIndex(line);
    return QPoint(start >= 0 ? pos - start : 0, line);
}

QPoint TMyCustomRichEdit::GetCharPos(int pos) const {
    QTextCursor c(document());
    c.setPosition(qBound(0, pos, TextLength()));
    return cursorRect(c).topLeft();
}

QPoint TMyCustomRichEdit::ScrollPos() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TMyCustomRichEdit::SetScrollPos(QPoint pos) {
    horizontalScrollBar()->setValue(pos.x());
    verticalScrollBar()->setValue(pos.y());
}

// ---------------------------------------------------------------- queries

int TMyCustomRichEdit::FindText(const QString& text, int start, int length, TRichSearchTypes options) {
    const int end = length < 0 ? -1 : start + length;
    const int pos = findText(document(), text, start, end, options);
    if (pos >= 0 && (options & stSetSelection))
        SetSelection(pos, pos + int(text.size()), true);
    return pos;
}

TRichSelectionType TMyCustomRichEdit::SelectionType() const {
    const QTextCursor c = textCursor();
    TRichSelectionType result;
    if (!c.hasSelection())
        return result;
    int objects = 0, chars = 0;
    const int start = c.selectionStart(), end = c.selectionEnd();
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int s = qMax(start, f.position()), e = qMin(end, f.position() + f.length());
            if (s >= e)
                continue;
            if (f.charFormat().isImageFormat())
                objects += e - s;
            else
                chars += e - s;
        }
        if (b.position() + b.length() - 1 < end && b.position() + b.length() - 1 >= start)
            ++chars; // the paragraph mark
    }
    if (chars > 0)
        result |= stText;
    if (chars > 1)
        result |= stMultiChar;
    if (objects > 0)
        result |= stObject;
    if (objects > 1)
        result |= stMultiObject;
    return result;
}

bool TMyCustomRichEdit::CanPaste() const {
    return canPasteData(QApplication::clipboard()->mimeData(), m_plainText);
}

void TMyCustomRichEdit::SetModified(bool on) {
    m_modified = on;
    document()->setModified(on);
}

int TMyCustomRichEdit::FindWordBreak(int pos) const {
    return wordBreakRight(document(), pos);
}

int TMyCustomRichEdit::FormatRange(const TFormatRangeRequest& request) {
    QPaintDevice* device = request.device    ? request.device
                           : request.painter ? request.painter->device()
                                             : nullptr;
    if (!device) {
        m_formatRange->clear();
        return 0;
    }
    return m_formatRange->format(document(), device, request.painter, request.rc, request.cpMin,
                                 request.cpMax);
}

} // namespace vlr
