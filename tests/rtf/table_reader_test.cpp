// Tables as documents mean them: one grid for rows with different cell
// boundaries, merged cells as spans, tables inside cells as nested tables.
#include "rtf/convert.h"
#include "rtf/rtf.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

namespace {

using namespace vlr::rtf;

QTextTable* firstTable(QTextFrame* frame) {
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (auto* t = qobject_cast<QTextTable*>(it.currentFrame()))
            return t;
    }
    return nullptr;
}

// The cell's text without the text of tables inside it.
QString cellText(QTextTable* table, int row, int column) {
    const QTextTableCell cell = table->cellAt(row, column);
    QString out;
    for (auto it = cell.begin(); !it.atEnd(); ++it) {
        if (!it.currentBlock().isValid())
            continue;
        if (!out.isEmpty())
            out += u'|';
        out += it.currentBlock().text();
    }
    return out;
}

struct Span {
    int row, column, rows, columns;
};

struct TableCase {
    const char* name;
    QByteArray rtf;
    int rows, columns;
    std::vector<Span> spans;        // every cell spanning more than one place
    std::vector<const char*> texts; // per row, per shown cell in grid order: its text
    std::vector<int> widths;        // column widths in twips; empty: not checked
};

class TableLayoutCase : public ::testing::TestWithParam<TableCase> {};

TEST_P(TableLayoutCase, GridSpansAndTextAsTheDocumentMeansThem) {
    const TableCase& tc = GetParam();
    QTextDocument doc;
    ASSERT_TRUE(readRtf(tc.rtf, &doc));
    QTextTable* table = firstTable(doc.rootFrame());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), tc.rows);
    EXPECT_EQ(table->columns(), tc.columns);
    std::vector<Span> spans;
    QStringList texts;
    for (int r = 0; r < table->rows(); ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
                spans.push_back(Span{r, c, cell.rowSpan(), cell.columnSpan()});
            texts << cellText(table, r, c);
        }
    }
    ASSERT_EQ(spans.size(), tc.spans.size());
    for (size_t i = 0; i < spans.size(); ++i) {
        EXPECT_EQ(spans[i].row, tc.spans[i].row) << i;
        EXPECT_EQ(spans[i].column, tc.spans[i].column) << i;
        EXPECT_EQ(spans[i].rows, tc.spans[i].rows) << i;
        EXPECT_EQ(spans[i].columns, tc.spans[i].columns) << i;
    }
    QStringList expected;
    for (const char* t : tc.texts)
        expected << QString::fromUtf8(t);
    EXPECT_EQ(texts, expected);
    if (!tc.widths.empty()) {
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        ASSERT_EQ(widths.size(), qsizetype(tc.widths.size()));
        for (size_t i = 0; i < tc.widths.size(); ++i)
            EXPECT_NEAR(widths[qsizetype(i)].rawValue() * 15, tc.widths[i], 0.5) << i;
    }
    // The text search reads is the document's, place for place.
    EXPECT_EQ(rtfToPlainText(tc.rtf), doc.toPlainText());
    // Written and read again, the table keeps its grid and its merges.
    QTextDocument back;
    ASSERT_TRUE(readRtf(writeRtf(&doc), &back));
    QTextTable* again = firstTable(back.rootFrame());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->rows(), tc.rows);
    EXPECT_EQ(again->columns(), tc.columns);
    for (const Span& s : tc.spans) {
        EXPECT_EQ(again->cellAt(s.row, s.column).rowSpan(), s.rows);
        EXPECT_EQ(again->cellAt(s.row, s.column).columnSpan(), s.columns);
    }
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TableLayoutCase,
    ::testing::Values(
        TableCase{
            "MergedAcross",
            "{\\rtf1\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\cellx3000"
            "\\pard\\intbl A\\cell\\cell C\\cell\\row"
            "\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl d\\cell e\\cell f\\cell\\row\\pard\\par}",
            2,
            3,
            {{0, 0, 1, 2}},
            {"A", "C", "d", "e", "f"},
            {1000, 1000, 1000}},
        TableCase{"RowsWithDifferentBoundariesShareOneGrid",
                  "{\\rtf1\\trowd\\cellx1000\\cellx6000\\pard\\intbl one\\cell two\\cell\\row"
                  "\\trowd\\cellx3000\\cellx6000\\pard\\intbl three\\cell four\\cell\\row\\pard\\par}",
                  2,
                  3,
                  {{0, 1, 1, 2}, {1, 0, 1, 2}},
                  {"one", "two", "three", "four"},
                  {1000, 2000, 3000}},
        TableCase{"ShortRowLeavesTheRestEmpty",
                  "{\\rtf1\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl a\\cell b\\cell c\\cell\\row"
                  "\\trowd\\cellx1000\\pard\\intbl d\\cell\\row\\pard\\par}",
                  2,
                  3,
                  {},
                  {"a", "b", "c", "d", "", ""},
                  {1000, 1000, 1000}},
        TableCase{"MergedDownWithTextInTheMergedCell",
                  "{\\rtf1\\trowd\\clvmgf\\cellx1000\\cellx2000\\pard\\intbl top\\cell x\\cell\\row"
                  "\\trowd\\clvmrg\\cellx1000\\cellx2000\\pard\\intbl\\cell y\\cell\\row"
                  "\\trowd\\clvmrg\\cellx1000\\cellx2000\\pard\\intbl kept\\cell z\\cell\\row\\pard\\par}",
                  3,
                  2,
                  {{0, 0, 3, 1}},
                  {"top|kept", "x", "y", "z"},
                  {1000, 1000}},
        TableCase{"MergedAcrossAndDown",
                  "{\\rtf1\\trowd\\clmgf\\clvmgf\\cellx1000\\clmrg\\clvmgf\\cellx2000\\cellx3000"
                  "\\pard\\intbl big\\cell\\cell r\\cell\\row"
                  "\\trowd\\clmgf\\clvmrg\\cellx1000\\clmrg\\clvmrg\\cellx2000\\cellx3000"
                  "\\pard\\intbl\\cell\\cell s\\cell\\row\\pard\\par}",
                  2,
                  3,
                  {{0, 0, 2, 2}},
                  {"big", "r", "s"},
                  {}},
        TableCase{"EmptyMergedCellsKeepTheirSpans",
                  "{\\rtf1\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\pard\\intbl\\cell\\cell\\row"
                  "\\trowd\\clvmgf\\cellx1000\\cellx2000\\pard\\intbl\\cell x\\cell\\row"
                  "\\trowd\\clvmrg\\cellx1000\\cellx2000\\pard\\intbl\\cell y\\cell\\row\\pard\\par}",
                  3,
                  2,
                  {{0, 0, 1, 2}, {1, 0, 2, 1}},
                  {"", "", "x", "y"},
                  {1000, 1000}},
        TableCase{"MergesPointingNowhereStayCells",
                  "{\\rtf1\\trowd\\clmrg\\cellx1000\\clvmrg\\cellx2000\\pard\\intbl a\\cell b\\cell\\row"
                  "\\trowd\\clvmrg\\cellx1500\\cellx2000\\pard\\intbl c\\cell d\\cell\\row\\pard\\par}",
                  2,
                  3,
                  {{0, 1, 1, 2}, {1, 0, 1, 2}},
                  {"a", "b", "c", "d"},
                  {1000, 500, 500}},
        TableCase{"RowsWithoutBoundaries",
                  "{\\rtf1\\pard\\intbl a\\cell b\\cell\\row\\pard\\intbl c\\cell\\row\\pard\\par}",
                  2,
                  2,
                  {},
                  {"a", "b", "c", ""},
                  {}}),
    [](const auto& info) { return std::string(info.param.name); });

QTextTable* tableIn(const QTextTableCell& cell) {
    for (auto it = cell.begin(); !it.atEnd(); ++it) {
        if (auto* t = qobject_cast<QTextTable*>(it.currentFrame()))
            return t;
    }
    return nullptr;
}

TEST(TableReader, NestedTableInsideTheOuterCellAndTheFallbackIgnored) {
    const QByteArray rtf =
        "{\\rtf1\\trowd\\cellx5000\\cellx8000\\pard\\intbl Before\\par"
        "\\pard\\intbl\\itap2 x\\nestcell{\\nonesttables\\par}y\\nestcell{\\nonesttables\\par}"
        "\\pard\\intbl\\itap2{\\*\\nesttableprops\\trowd\\cellx1000\\cellx4000\\nestrow}"
        "{\\nonesttables\\par}"
        "\\pard\\intbl\\itap2 z\\nestcell{\\nonesttables\\par}\\nestcell{\\nonesttables\\par}"
        "\\pard\\intbl\\itap2{\\*\\nesttableprops\\trowd\\clmgf\\cellx1000\\clmrg\\cellx4000\\nestrow}"
        "{\\nonesttables\\par}"
        "\\pard\\intbl After\\cell second\\cell\\row\\pard\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    QTextTable* outer = firstTable(doc.rootFrame());
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->rows(), 1);
    EXPECT_EQ(outer->columns(), 2);
    EXPECT_EQ(cellText(outer, 0, 1), u"second");
    QTextTable* inner = tableIn(outer->cellAt(0, 0));
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->rows(), 2);
    EXPECT_EQ(inner->columns(), 2);
    EXPECT_EQ(cellText(inner, 0, 0), u"x");
    EXPECT_EQ(cellText(inner, 0, 1), u"y");
    EXPECT_EQ(cellText(inner, 1, 0), u"z");
    EXPECT_EQ(inner->cellAt(1, 0).columnSpan(), 2);
    const QList<QTextLength> widths = inner->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_NEAR(widths[0].rawValue() * 15, 1000, 0.5);
    EXPECT_NEAR(widths[1].rawValue() * 15, 3000, 0.5);
    // The outer cell keeps its own text around the inner table, and the
    // fallback paragraphs for readers without nested tables are not shown.
    const QString outerText = cellText(outer, 0, 0);
    EXPECT_TRUE(outerText.startsWith(u"Before")) << outerText.toStdString();
    EXPECT_TRUE(outerText.endsWith(u"After")) << outerText.toStdString();
    EXPECT_EQ(rtfToPlainText(rtf), doc.toPlainText());
    EXPECT_EQ(doc.toPlainText(), u"\nBefore\nx\ny\nz\nAfter\nsecond\n");

    // Written and read again, the inner table stays inside the outer cell.
    QTextDocument back;
    ASSERT_TRUE(readRtf(writeRtf(&doc), &back));
    QTextTable* outerAgain = firstTable(back.rootFrame());
    ASSERT_NE(outerAgain, nullptr);
    QTextTable* innerAgain = tableIn(outerAgain->cellAt(0, 0));
    ASSERT_NE(innerAgain, nullptr);
    EXPECT_EQ(innerAgain->cellAt(1, 0).columnSpan(), 2);
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
}

TEST(TableReader, DeeperTableAfterARowEndedStartsTheRowItStandsIn) {
    // A level-3 paragraph right after a nested row ended: the level-2 table
    // gets a new row and the level-3 table stands in its first cell.
    const QByteArray rtf =
        "{\\rtf1\\trowd\\cellx5000\\pard\\intbl\\itap2 x\\nestcell"
        "{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}"
        "\\pard\\intbl\\itap3 deep\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\nestrow}"
        "\\pard\\intbl\\itap2\\nestcell{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}"
        "\\pard\\intbl outer\\cell\\row}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    QTextTable* outer = firstTable(doc.rootFrame());
    ASSERT_NE(outer, nullptr);
    QTextTable* second = tableIn(outer->cellAt(0, 0));
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second->rows(), 2);
    EXPECT_EQ(cellText(second, 0, 0), u"x");
    QTextTable* third = tableIn(second->cellAt(1, 0));
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(cellText(third, 0, 0), u"deep");
    EXPECT_EQ(rtfToPlainText(rtf), doc.toPlainText());
}

TEST(TableReader, HostileTablesStayBounded) {
    // 10,000 boundaries in a row, 10,000 cells in a row, absurd nesting
    // levels and a nested row that never ends: read quickly, bounded, with
    // every cell's text kept.
    QByteArray wide = "{\\rtf1\\trowd";
    for (int i = 1; i <= 10000; ++i)
        wide += "\\cellx" + QByteArray::number(i * 20);
    wide += "\\pard\\intbl a\\cell b\\cell\\row}";
    QByteArray many = "{\\rtf1\\trowd\\cellx1000\\pard\\intbl ";
    for (int i = 0; i < 10000; ++i)
        many += "c\\cell ";
    many += "\\row}";
    const QByteArray deep =
        "{\\rtf1\\pard\\intbl\\itap100000 deep\\nestcell\\pard\\intbl\\itap2 more\\nestcell}";
    // Twelve levels, each with its own text.
    QByteArray nested = "{\\rtf1\\trowd\\cellx9000\\pard\\intbl <1> ";
    for (int level = 2; level <= 12; ++level)
        nested += "\\itap" + QByteArray::number(level) + " <" + QByteArray::number(level) + "> ";
    for (int level = 12; level >= 2; --level) {
        nested += "\\itap" + QByteArray::number(level) + "\\nestcell{\\*\\nesttableprops\\trowd\\cellx" +
                  QByteArray::number(9000 - level * 300) + "\\nestrow}{\\nonesttables\\par}";
    }
    nested += "\\itap1\\cell\\row}";
    const QByteArray unended = "{\\rtf1\\trowd\\cellx1000\\pard\\intbl\\itap3 a\\nestcell b\\nestcell"
                               "{\\*\\nesttableprops\\trowd\\clvmrg\\clmrg\\cellx-5\\cellx-10\\nestrow}"
                               "\\pard\\intbl\\itap1\\cell}";
    for (const QByteArray& rtf : {wide, many, deep, unended, nested}) {
        QTextDocument doc;
        ASSERT_TRUE(readRtf(rtf, &doc));
        QTextTable* table = firstTable(doc.rootFrame());
        ASSERT_NE(table, nullptr);
        EXPECT_LE(table->columns(), 64);
        EXPECT_EQ(rtfToPlainText(rtf), doc.toPlainText());
        int depth = 0;
        for (QTextTable* t = table; t; t = tableIn(t->cellAt(0, 0)))
            ++depth;
        EXPECT_LE(depth, 6); // each level doubles the time to lay the note out
    }
    QTextDocument doc;
    ASSERT_TRUE(readRtf(many, &doc));
    EXPECT_EQ(doc.toPlainText().count(u'c'), 10000); // cells past the last column join it
    QTextDocument levels;
    ASSERT_TRUE(readRtf(nested, &levels));
    for (int level = 1; level <= 12; ++level) // levels past the deepest join it, text and all
        EXPECT_TRUE(levels.toPlainText().contains(QStringLiteral("<%1>").arg(level))) << level;
}

TEST(TableReader, TextFilesKeepCellsInTheirColumns) {
    const QByteArray rtf =
        "{\\rtf1\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\cellx3000"
        "\\pard\\intbl A\\cell\\cell C\\cell\\row"
        "\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl d\\cell e\\cell f\\cell\\row}";
    EXPECT_EQ(convertData2(rtf, 1), u"A\t\tC\r\nd\te\tf\r\n");
}

} // namespace
