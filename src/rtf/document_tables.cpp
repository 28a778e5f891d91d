// Tables of the document being built: each laid out in full when it
// starts, its cells filled as their content comes, merged cells' content
// joining the cell they are merged into.
#include "rtf/document_sink.h"

#include <QTextTable>

namespace vlr::rtf {

bool DocumentSink::pendingCellCovered() const {
    if (open_.empty())
        return false;
    return open_.back().at.joins();
}

// Moves to the cell whose content comes next. A cell merged into another
// adds its content to that cell's, after what it holds.
void DocumentSink::enterCell() {
    if (open_.empty())
        return;
    const OpenTable& t = open_.back();
    const CellPlace* p = t.at.place();
    const QTextTableCell cell =
        p ? t.table->cellAt(p->row, p->column) : t.table->cellAt(qMax(0, t.at.row), 0);
    if (pendingCellCovered()) {
        c_ = cell.lastCursorPosition();
        needBlock_ = cell.firstPosition() != cell.lastPosition();
    } else {
        c_ = cell.firstCursorPosition();
    }
}

void DocumentSink::tableStart(const TableInfo& info) {
    // A table inside a cell goes where that cell's content stands.
    if (cellPending_) {
        cellPending_ = false;
        enterCell();
    }
    // A table that ends a paragraph no \par ended shows that paragraph's boxes first.
    if (open_.empty())
        showBoxes();
    // The table takes the place of the pending paragraph break, but not of a shown box.
    needBlock_ = false;
    if (boxShown_) {
        c_.insertBlock(QTextBlockFormat(), base_);
        boxShown_ = false;
    }
    QTextTableFormat tf;
    tf.setBorder(1);
    tf.setCellPadding(2);
    tf.setCellSpacing(0);
    tf.setBorderCollapse(true);
    // Without widths empty columns would shrink to slivers.
    QList<QTextLength> widths;
    bool anyWidth = false;
    for (int w : info.columnWidth) {
        widths.append(w > 0 ? QTextLength(QTextLength::FixedLength, w / 15.0) : QTextLength());
        anyWidth = anyWidth || w > 0;
    }
    if (anyWidth)
        tf.setColumnWidthConstraints(widths);
    if (info.rtl)
        tf.setLayoutDirection(Qt::RightToLeft);
    QTextTable* table = c_.insertTable(qMax(1, info.rows), qMax(1, info.columns), tf);
    for (const CellPlace& span : info.spans)
        table->mergeCells(span.row, span.column, span.rows, span.columns);
    open_.push_back(OpenTable{table, {}});
}

void DocumentSink::rowStart(const RowInfo& row) {
    if (open_.empty())
        return;
    open_.back().at.startRow(row);
    needBlock_ = false;
    cellPending_ = true;
}

void DocumentSink::cellEnd(const ParaState& para, const CharState& state) {
    if (open_.empty())
        return;
    // A merged cell that held nothing leaves the cell it joins as it was.
    if (!(cellPending_ && pendingCellCovered())) {
        materialize();
        applyParagraph(para, state);
    }
    ++open_.back().at.cell;
    cellPending_ = true;
}

void DocumentSink::rowEnd() {
    cellPending_ = false;
}

void DocumentSink::tableEnd() {
    if (open_.empty())
        return;
    c_ = open_.back().table->lastCursorPosition();
    c_.movePosition(QTextCursor::NextCharacter);
    open_.pop_back();
    cellPending_ = false;
    needBlock_ = false;
    pnList_ = nullptr;
}

} // namespace vlr::rtf
