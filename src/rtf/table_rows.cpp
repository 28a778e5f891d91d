#include "rtf/table_rows.h"

#include "rtf/escape.h"

#include <QTextTable>

namespace vlr::rtf {

namespace {

// Percentages are of a 9000-twip line.
int twipsOf(const QTextLength& w) {
    if (w.type() == QTextLength::FixedLength)
        return qRound(w.rawValue() * 15);
    if (w.type() == QTextLength::PercentageLength)
        return qRound(w.rawValue() * 90);
    return -1;
}

} // namespace

std::vector<int> columnRights(const QTextTable* table) {
    const int cols = qMax(0, table->columns());
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    const auto widthOf = [&](int c) { return c < widths.size() ? twipsOf(widths[c]) : -1; };
    // Columns without a width share what the others leave of the line.
    int fixed = 0, unsized = 0;
    for (int c = 0; c < cols; ++c) {
        if (widthOf(c) >= 0)
            fixed += widthOf(c);
        else
            ++unsized;
    }
    const int share = unsized ? qMax(360, (9000 - fixed) / unsized) : 0;
    std::vector<int> right(static_cast<size_t>(cols));
    int edge = 0;
    for (int c = 0; c < cols; ++c) {
        const int width = widthOf(c) >= 0 ? widthOf(c) : share;
        edge += qMax(1, width);
        right[size_t(c)] = edge;
    }
    return right;
}

QByteArray rowDefinition(const QTextTable* table, int row, const std::vector<int>& rights) {
    const QTextTableFormat tf = table->format();
    QByteArray border;
    if (tf.border() > 0 && tf.borderStyle() != QTextFrameFormat::BorderStyle_None) {
        const QByteArray w = QByteArray::number(qBound(1, qRound(tf.border() * 15), 75));
        for (const char* side : {"t", "l", "b", "r"})
            border += QByteArray("\\clbrdr") + side + "\\brdrs\\brdrw" + w;
    }
    QByteArray o("\\trowd\\trgaph108");
    if (tf.layoutDirection() == Qt::RightToLeft)
        o.append("\\taprtl");
    for (int c = 0; c < int(rights.size()); ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        if (cell.isValid()) {
            // The cell that a merge starts at holds the text; the others are
            // written empty and marked as merged into it.
            if (cell.row() < row)
                appendWord(o, "clvmrg");
            else if (cell.rowSpan() > 1)
                appendWord(o, "clvmgf");
            if (cell.column() < c)
                appendWord(o, "clmrg");
            else if (cell.columnSpan() > 1)
                appendWord(o, "clmgf");
        }
        o.append(border);
        appendWord(o, "cellx", rights[size_t(c)]);
    }
    return o;
}

} // namespace vlr::rtf
