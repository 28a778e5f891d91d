// Text boxes: a shape (\shp) or a drawing object (\do) is kept as written
// for saving; the text of a text box in it is shown where the box stands.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

// A shape or drawing object starts in the body.
bool Interpreter::textBoxWord(const Word& w) {
    GroupState& g = cur();
    switch (w.kw) {
    case KwShp:
    case KwDo:
        if (g.dest == Dest::Normal) {
            markRawStart(w.star ? starPos_ : w.token.pos);
            cur().dest = Dest::Shape;
            boxText_.clear();
            boxHasText_ = false;
        } else if (w.kw == KwDo) {
            g.dest = Dest::Skip;
        }
        return true;
    case KwShpInst:
    case KwShpTxt:
        g.dest = Dest::Skip; // outside a shape there is no box to show them in
        return true;
    case KwShpRslt:
        return true; // what readers without shapes show: read as it comes
    default:
        return false;
    }
}

// Inside a shape only its text and, for shapes without text, the result
// other readers show matter.
void Interpreter::shapeWord(const Word& w) {
    GroupState& g = cur();
    switch (w.kw) {
    case KwShpTxt:
        if (boxHasText_)
            boxText_.append(QChar(0x2028));
        boxHasText_ = true;
        g.dest = Dest::ShapeText;
        return;
    case KwShpRslt:
        // A shape without text (a picture, a line) shows its result as
        // before; a text box's result repeats the text already read.
        g.dest = boxHasText_ ? Dest::Skip : Dest::Normal;
        return;
    case KwBin:
        tok_.binary(w.p);
        return;
    default:
        return;
    }
}

// The box's text reads as lines of plain text.
void Interpreter::boxTextWord(const Word& w) {
    switch (w.kw) {
    case KwPar:
    case KwSect:
    case KwPage:
    case KwRow:
    case KwLine:
        boxText_.append(QChar(0x2028));
        return;
    case KwCell:
    case KwNestCell:
    case KwTab:
        boxText_.append(u'\t');
        return;
    case KwFldInst:
    case KwPict:
    case KwObject:
    case KwFootnote:
    case KwShp:
    case KwDo:
    case KwFontTbl:
    case KwColorTbl:
    case KwListTable:
    case KwListOverrideTable:
    case KwPn:
    case KwNestTableProps:
        cur().dest = Dest::Skip;
        return;
    default:
        if (const char16_t c = keywordChar(w.kw))
            boxText_.append(QChar(c));
        return;
    }
}

void Interpreter::finishTextBox(const GroupState& g, qsizetype end) {
    if (!boxHasText_ || stack_.back().dest != Dest::Normal)
        return;
    boxHasText_ = false;
    // Paragraph ends of the last line and stray spaces are not part of what the box shows.
    QString text = std::move(boxText_);
    boxText_.clear();
    while (!text.isEmpty() && (text.back().isSpace() || text.back() == QChar(0x2028)))
        text.chop(1);
    for (QChar& c : text) {
        if (c.unicode() < 0x20 && c != u'\t')
            c = u' ';
    }
    sink_.textBox(keptBytes(g, end), text);
    ++outputs_;
}

} // namespace vlr::rtf::detail
