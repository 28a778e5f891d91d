// Paragraph attribute words of the body, tab stops, and the paragraph end.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

void Interpreter::paragraph() {
    flushText();
    flow();
    sink_.paragraphEnd(resolvedPara(), cur().chr);
    ++outputs_;
    cur().para.pageBreakBefore = false;
}

namespace {

// Indents and spacing stay within what word processors allow (22 inches):
// a line or a space of millions of points sends Qt's layout of a table
// holding it into a loop that does not end in any useful time.
int paragraphMeasure(int twips) {
    return qBound(-31680, twips, 31680);
}

} // namespace

bool Interpreter::paraWord(const Word& w) {
    ParaState& pa = cur().para;
    const int p = w.p;
    switch (w.kw) {
    case KwPard:
        pa = ParaState{};
        bodyStarted_ = true;
        return true;
    case KwPar:
    case KwSect:
        paragraph();
        return true;
    case KwPage:
        paragraph();
        cur().para.pageBreakBefore = true;
        return true;
    case KwPageBb:
        pa.pageBreakBefore = w.on;
        return true;
    case KwQl:
        pa.align = Align::Left;
        return true;
    case KwQr:
        pa.align = Align::Right;
        return true;
    case KwQc:
        pa.align = Align::Center;
        return true;
    case KwQj:
        pa.align = Align::Justify;
        return true;
    case KwFi:
        pa.fi = paragraphMeasure(p);
        return true;
    case KwLi:
        pa.li = paragraphMeasure(p);
        return true;
    case KwRi:
        pa.ri = paragraphMeasure(p);
        return true;
    case KwSb:
        pa.sb = paragraphMeasure(p);
        return true;
    case KwSa:
        pa.sa = paragraphMeasure(p);
        return true;
    case KwSl:
        pa.sl = paragraphMeasure(p);
        return true;
    case KwSlMult:
        pa.slmult = w.on;
        return true;
    case KwRtlPar:
        pa.rtl = true;
        return true;
    case KwLtrPar:
        pa.rtl = false;
        return true;
    case KwTx:
    case KwTb: {
        TabStop ts = pendingTab_;
        ts.pos = p;
        if (w.kw == KwTb)
            ts.kind = 4;
        if (pa.tabs.size() < 64)
            pa.tabs.push_back(ts);
        pendingTab_ = TabStop{};
        return true;
    }
    case KwTqr:
        pendingTab_.kind = 2;
        return true;
    case KwTqc:
        pendingTab_.kind = 1;
        return true;
    case KwTqDec:
        pendingTab_.kind = 3;
        return true;
    case KwTlDot:
        pendingTab_.leader = 1;
        return true;
    case KwTlHyph:
        pendingTab_.leader = 2;
        return true;
    case KwTlUl:
        pendingTab_.leader = 3;
        return true;
    case KwTlTh:
        pendingTab_.leader = 4;
        return true;
    case KwTlEq:
        pendingTab_.leader = 5;
        return true;
    case KwTlMdot:
        pendingTab_.leader = 6;
        return true;
    default:
        return false;
    }
}

} // namespace vlr::rtf::detail
