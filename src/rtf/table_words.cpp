// Table rows and cells of the body, tables inside cells, and the row
// definitions (cell boundaries and merges) they are laid out by.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

namespace {

// The nesting level of the table a paragraph belongs to; 0 outside tables.
int tableDepth(const ParaState& para) {
    return para.intbl ? qBound(1, para.itap, kMaxTableDepth) : 0;
}

} // namespace

RowInfo& Interpreter::rowDef(int depth) {
    depth = qBound(1, depth, kMaxTableDepth);
    if (int(rowDefs_.size()) < depth)
        rowDefs_.resize(size_t(depth));
    RowInfo& def = rowDefs_[size_t(depth - 1)];
    def.depth = depth;
    return def;
}

void Interpreter::openRow(int depth) {
    flushText();
    sink_.rowStart(rowDef(depth));
    rowOpen_[size_t(depth - 1)] = true;
}

void Interpreter::closeTable() {
    flushText();
    if (rowOpen_.back())
        sink_.rowEnd(rowDef(int(rowOpen_.size())));
    sink_.tableEnd();
    rowOpen_.pop_back();
}

// Closes deeper tables and opens tables down to the depth, each level with
// a row open: a table inside a cell needs the outer row it stands in.
void Interpreter::enterTables(int depth) {
    while (int(rowOpen_.size()) > depth)
        closeTable();
    for (int level = 1; level <= depth; ++level) {
        if (int(rowOpen_.size()) < level)
            rowOpen_.push_back(false);
        if (!rowOpen_[size_t(level - 1)])
            openRow(level);
    }
}

void Interpreter::endTables() {
    enterTables(0);
}

// Text is about to be shown: tables open or end where the paragraph's table
// level changed. Text outside tables in a row that has not ended stays in it.
void Interpreter::flow() {
    bodyStarted_ = true;
    const int depth = tableDepth(cur().para);
    enterTables(depth == 0 && !rowOpen_.empty() && rowOpen_.front() ? 1 : depth);
}

void Interpreter::cell(bool nested) {
    flushText();
    bodyStarted_ = true;
    const int depth = nested ? qBound(2, tableDepth(cur().para), kMaxTableDepth) : 1;
    // A cell outside tables after a finished table starts a table of its own.
    if (!nested && rowOpen_.size() == 1 && !rowOpen_.front() && !cur().para.intbl)
        closeTable();
    enterTables(depth);
    sink_.cellEnd(resolvedPara(), cur().chr);
    ++outputs_;
}

void Interpreter::row(bool nested) {
    flushText();
    const int depth = nested ? qBound(2, tableDepth(cur().para), kMaxTableDepth) : 1;
    if (int(rowOpen_.size()) < depth)
        return;
    while (int(rowOpen_.size()) > depth)
        closeTable();
    if (!rowOpen_.back())
        return;
    sink_.rowEnd(rowDef(depth));
    rowOpen_.back() = false;
}

// Words of a row definition: in the body for the outer table, inside
// \nesttableprops for a nested one.
bool Interpreter::rowDefinitionWord(const Word& w) {
    switch (w.kw) {
    case KwTrowd:
        defDepth_ =
            cur().dest == Dest::NestTableProps ? qBound(2, tableDepth(cur().para), kMaxTableDepth) : 1;
        rowDef(defDepth_) = RowInfo{};
        pendingCell_ = CellDef{};
        return true;
    case KwTapRtl:
        rowDef(defDepth_).rtl = true;
        return true;
    case KwClMgf:
        pendingCell_.hmerge = 1;
        return true;
    case KwClMrg:
        pendingCell_.hmerge = 2;
        return true;
    case KwClVmgf:
        pendingCell_.vmerge = 1;
        return true;
    case KwClVmrg:
        pendingCell_.vmerge = 2;
        return true;
    case KwCellx: {
        RowInfo& def = rowDef(defDepth_);
        pendingCell_.right = w.p;
        if (int(def.cells.size()) < kMaxTableColumns)
            def.cells.push_back(pendingCell_);
        pendingCell_ = CellDef{};
        return true;
    }
    case KwNestRow:
        row(true);
        return true;
    default:
        return false;
    }
}

bool Interpreter::tableWord(const Word& w) {
    ParaState& pa = cur().para;
    switch (w.kw) {
    case KwIntbl:
        pa.intbl = true;
        return true;
    case KwItap:
        pa.itap = qBound(0, w.p, kMaxTableDepth);
        pa.intbl = w.p > 0;
        return true;
    case KwCell:
        cell(false);
        return true;
    case KwRow:
        row(false);
        return true;
    case KwNestCell:
        cell(true);
        return true;
    case KwNestTableProps:
        cur().dest = Dest::NestTableProps;
        return true;
    default:
        return rowDefinitionWord(w);
    }
}

} // namespace vlr::rtf::detail
