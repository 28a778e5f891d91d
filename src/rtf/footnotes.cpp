// Footnotes: the group is kept as written for saving, its text is collected
// to be shown after the document, and \chftn is its number in the text.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

bool Interpreter::footnoteWord(const Word& w) {
    if (w.kw != KwFootnote)
        return false;
    GroupState& g = cur();
    if (g.dest == Dest::Normal && bodyStarted_) {
        markRawStart(w.star ? starPos_ : w.token.pos);
        cur().dest = Dest::Footnote;
        footnoteText_.clear();
    } else {
        g.dest = Dest::Skip;
    }
    return true;
}

void Interpreter::footnoteTextWord(const Word& w) {
    // The note's text reads as one line; its own number is the one shown.
    if (w.kw == KwPar || w.kw == KwTab || w.kw == KwLine)
        footnoteText_.append(u' ');
}

// The automatic number of the footnote that follows.
void Interpreter::footnoteMark() {
    CharState& c = cur().chr;
    // Each mark its own id, so two marks side by side stay two marks.
    c.footnoteRef = ++footnoteMarks_;
    bodyString(QString::number(footnotes_ + 1));
    c.footnoteRef = 0;
}

void Interpreter::finishFootnote(const GroupState& g, qsizetype end) {
    sink_.footnote(keptBytes(g, end), footnoteText_.simplified());
    ++footnotes_;
    ++outputs_;
}

} // namespace vlr::rtf::detail
