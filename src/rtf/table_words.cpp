// Table rows and cells of the body.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

// Text is about to be shown: a row starts or a table ends where the
// paragraph's table membership changed.
void Interpreter::flow() {
    bodyStarted_ = true;
    const bool wantTable = cur().para.intbl;
    if (wantTable && !inRow_) {
        flushText();
        sink_.rowStart(rowDef_);
        inRow_ = inTable_ = true;
    } else if (!wantTable && inTable_ && !inRow_) {
        flushText();
        sink_.tableEnd();
        inTable_ = false;
    }
}

void Interpreter::cell() {
    flushText();
    bodyStarted_ = true;
    if (!inRow_) {
        if (inTable_ && !cur().para.intbl) {
            sink_.tableEnd();
            inTable_ = false;
        }
        sink_.rowStart(rowDef_);
        inRow_ = inTable_ = true;
    }
    sink_.cellEnd(resolvedPara(), cur().chr);
    ++outputs_;
}

void Interpreter::row() {
    flushText();
    if (!inRow_)
        return;
    sink_.rowEnd();
    inRow_ = false;
}

void Interpreter::endTables() {
    if (inRow_)
        sink_.rowEnd();
    if (inTable_)
        sink_.tableEnd();
}

bool Interpreter::tableWord(const Word& w) {
    ParaState& pa = cur().para;
    switch (w.kw) {
    case KwTrowd:
        rowDef_ = RowInfo{};
        return true;
    case KwTapRtl:
        rowDef_.rtl = true;
        return true;
    case KwCellx:
        if (rowDef_.cellRight.size() < 64)
            rowDef_.cellRight.push_back(w.p);
        return true;
    case KwIntbl:
        pa.intbl = true;
        return true;
    case KwItap:
        pa.intbl = w.p > 0;
        return true;
    case KwCell:
        cell();
        return true;
    case KwRow:
        row();
        return true;
    case KwNestCell:
        bodyChar('\t');
        return true;
    case KwNestRow:
        paragraph();
        return true;
    default:
        return false;
    }
}

} // namespace vlr::rtf::detail
