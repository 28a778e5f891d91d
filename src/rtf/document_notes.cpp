// What the document shows but does not write back as text: footnotes at the
// end and text boxes after their paragraph, both kept in their RTF form.
#include "rtf/document_sink.h"
#include "rtf/properties.h"

#include <QTextBlock>
#include <QTextDocument>

namespace vlr::rtf {

void DocumentSink::footnote(QByteArrayView rtf, const QString& text) {
    pendingRaw_.append(rtf);
    notes_.append(text);
}

void DocumentSink::textBox(QByteArrayView rtf, const QString& text) {
    pendingRaw_.append(rtf);
    boxes_.append(text);
}

// Kept groups not yet attached to text end the paragraph they stand in; a
// shown box or note is left out on saving, so it cannot hold them.
void DocumentSink::keepPendingRaw() {
    if (pendingRaw_.isEmpty())
        return;
    QTextBlock b = c_.block();
    while (b.previous().isValid() && b.blockFormat().boolProperty(PropFootnoteEcho))
        b = b.previous();
    QTextCursor at(b);
    QTextBlockFormat f = b.blockFormat();
    f.setProperty(PropRawTail, f.property(PropRawTail).toByteArray() + pendingRaw_);
    at.setBlockFormat(f);
    pendingRaw_.clear();
}

// Text boxes are shown after the paragraph they stand in, as a shaded
// paragraph the writer leaves out: the box itself is kept in its RTF form.
// Inside tables they wait for the table to end.
void DocumentSink::showBoxes() {
    if (boxes_.isEmpty() || !open_.empty())
        return;
    keepPendingRaw();
    QTextBlockFormat box;
    box.setProperty(PropFootnoteEcho, true);
    box.setBackground(QColor(0xF2, 0xF2, 0xF2));
    box.setLeftMargin(12);
    box.setRightMargin(12);
    box.setTopMargin(4);
    box.setBottomMargin(4);
    for (const QString& text : std::as_const(boxes_)) {
        c_.insertBlock(box, base_);
        c_.insertText(text, base_);
    }
    boxes_.clear();
    boxShown_ = true;
}

// Footnotes are kept in their RTF form for saving; the reader sees them as
// numbered paragraphs after the text, which the writer leaves out.
void DocumentSink::showNotes() {
    if (notes_.isEmpty())
        return;
    QTextCursor end(c_.document());
    end.movePosition(QTextCursor::End);
    QTextCharFormat text = base_;
    text.setFontPointSize(10);
    for (qsizetype i = 0; i < notes_.size(); ++i) {
        QTextBlockFormat block;
        block.setProperty(PropFootnoteEcho, true);
        if (i == 0)
            block.setTopMargin(12);
        end.insertBlock(block, text);
        end.insertText(QString::number(i + 1) + QStringLiteral(". ") + notes_[i], text);
    }
    notes_.clear();
}

} // namespace vlr::rtf
