// Tables written as word processors write them: merged cells with their
// merge marks, tables inside cells in the nested form.
#include "doc_compare.h"
#include "rtf/rtf.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

namespace {

using namespace vlr::rtf;

QString cellText(int r, int c) {
    return QStringLiteral("r%1c%2").arg(r).arg(c);
}

// Each cell that is not covered by a merged one holds its coordinates.
void fill(QTextTable* t) {
    for (int r = 0; r < t->rows(); ++r) {
        for (int col = 0; col < t->columns(); ++col) {
            const QTextTableCell cell = t->cellAt(r, col);
            if (cell.row() == r && cell.column() == col)
                cell.firstCursorPosition().insertText(cellText(r, col));
        }
    }
}

// The row definitions of the RTF with the cell words only: "clmgf,clmrg,|..."
// for each \trowd, one item per \cellx.
QStringList rowShapes(const QByteArray& rtf) {
    QStringList rows;
    static const QRegularExpression row(QStringLiteral(R"(\\trowd((?:\\[a-z]+-?\d*)*))"));
    static const QRegularExpression word(QStringLiteral(R"(\\(cl[a-z]*mg?[a-z]*|cellx)\d*)"));
    for (const auto& m : row.globalMatch(QString::fromLatin1(rtf))) {
        QStringList cells;
        QString cell;
        for (const auto& w : word.globalMatch(m.captured(1))) {
            if (w.captured(1) == u"cellx") {
                cells << cell;
                cell.clear();
            } else {
                cell += w.captured(1);
            }
        }
        rows << cells.join(u',');
    }
    return rows;
}

// The text of each cell of the first table a reader sees, row by row.
QString pandocTable(const QByteArray& rtf) {
    QProcess p;
    p.start(QStandardPaths::findExecutable("pandoc"), {"-f", "rtf", "-t", "html"});
    if (!p.waitForStarted())
        return {};
    p.write(rtf);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    QString html = QString::fromUtf8(p.readAllStandardOutput());
    html.remove(QRegularExpression(QStringLiteral(R"(<(?!/?t[rd][ >])[^>]*>|\n)")));
    html.replace(QRegularExpression(QStringLiteral(R"(<tr[^>]*>)")), QStringLiteral("\n"));
    html.replace(QRegularExpression(QStringLiteral(R"(<td[^>]*>)")), QStringLiteral("|"));
    html.remove(QRegularExpression(QStringLiteral(R"(</t[rd]>)")));
    return html.trimmed();
}

TEST(TableWriter, MergedCellsKeepTheirColumnsAndAreMarked) {
    struct Case {
        const char* name;
        int row, col, rows, cols; // the merge
        QStringList shapes;
        QString pandoc; // rows as pandoc shows them: every column stays in its place
    } cases[] = {
        {"across", 0, 0, 1, 2, {"clmgf,clmrg,", ",,"}, "|r0c0||r0c2\n|r1c0|r1c1|r1c2"},
        {"down", 0, 1, 2, 1, {",clvmgf,", ",clvmrg,"}, "|r0c0|r0c1|r0c2\n|r1c0||r1c2"},
        {"block",
         0,
         1,
         2,
         2,
         {",clvmgfclmgf,clvmgfclmrg", ",clvmrgclmgf,clvmrgclmrg"},
         "|r0c0|r0c1|\n|r1c0||"},
    };
    const bool pandoc = !QStandardPaths::findExecutable("pandoc").isEmpty();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        QTextDocument doc;
        QTextCursor c(&doc);
        QTextTable* t = c.insertTable(2, 3);
        t->mergeCells(k.row, k.col, k.rows, k.cols);
        fill(t);
        const QByteArray out = writeRtf(&doc);
        EXPECT_EQ(rowShapes(out), k.shapes) << out.constData();
        // Each row still has a cell for every column.
        EXPECT_EQ(out.count("\\cell "), 6) << out.constData();

        // Read back: the same grid, spans and text.
        QTextDocument back;
        ASSERT_TRUE(readRtf(out, &back));
        EXPECT_EQ(vlr::test::compareDocuments(doc, back).toStdString(), "") << out.constData();
        if (pandoc) {
            EXPECT_EQ(pandocTable(out), k.pandoc) << out.constData();
        }
    }
}

// One outer row: the first cell holds text, a two-by-two table and text
// after it; the second cell plain text.
QTextDocument* nestedDocument(QTextDocument* doc, int depth) {
    QTextCursor c(doc);
    QTextTable* outer = c.insertTable(1, 2);
    outer->cellAt(0, 1).firstCursorPosition().insertText("right");
    QTextCursor in = outer->cellAt(0, 0).firstCursorPosition();
    in.insertText("before");
    for (int level = 2; level <= depth; ++level) {
        QTextTable* inner = in.insertTable(2, 2);
        fill(inner);
        QTextCursor afterInner = inner->lastCursorPosition();
        afterInner.movePosition(QTextCursor::NextCharacter);
        afterInner.insertText(QStringLiteral("after%1").arg(level));
        in = inner->cellAt(1, 1).lastCursorPosition();
    }
    return doc;
}

TEST(TableWriter, TablesInCellsAreWrittenNestedWithTheCellTextAround) {
    QTextDocument doc;
    nestedDocument(&doc, 2);
    const QByteArray out = writeRtf(&doc);
    const char* const order[] = {"before\\par",
                                 "\\itap2",
                                 "r0c0\\nestcell",
                                 "r0c1\\nestcell",
                                 "{\\*\\nesttableprops\\trowd",
                                 "\\nestrow}{\\nonesttables\\par}",
                                 "r1c1\\nestcell",
                                 "\\nestrow}",
                                 "after2\\cell",
                                 "right\\cell",
                                 "\\row"};
    qsizetype at = 0;
    for (const char* piece : order) {
        const qsizetype found = out.indexOf(piece, at);
        EXPECT_GE(found, at) << piece << "\n" << out.constData();
        at = qMax(at, found);
    }
    // The outer row is defined once before its cells; nested rows only in their properties.
    EXPECT_EQ(out.count("\\trowd"), 3) << out.constData();
    EXPECT_EQ(out.count("\\nestcell"), 4);
    EXPECT_EQ(out.count("\\cell "), 2);
    EXPECT_FALSE(out.contains("\\itap1"));
    // Qt's paragraph before the nested table is not written.
    EXPECT_FALSE(out.contains("before\\par\r\n\\pard\\intbl \\par")) << out.constData();

    // Deeper tables count their level.
    QTextDocument deep;
    nestedDocument(&deep, 3);
    const QByteArray deeper = writeRtf(&deep);
    EXPECT_TRUE(deeper.contains("\\itap3")) << deeper.constData();
    EXPECT_EQ(deeper.count("\\nestrow}"), 4);

    // Read back: the tables inside cells, at their depths, with the text around them.
    for (const QTextDocument* written : {&doc, &deep}) {
        const QByteArray rtf = writeRtf(written);
        QTextDocument back;
        ASSERT_TRUE(readRtf(rtf, &back));
        EXPECT_EQ(vlr::test::compareDocuments(*written, back).toStdString(), "") << rtf.constData();
    }
}

} // namespace
