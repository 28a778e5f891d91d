// Paragraph attributes of the paragraphs the selection touches.
#include "editor_fixture.h"

#include "rtf/rtf.h"

using namespace vlr;
using namespace vlr::test;

namespace {

class ParagraphTest : public EditorTest {
protected:
    TRxParaAttributes& para() { return edit.Paragraph(); }
};

} // namespace

TEST_F(ParagraphTest, ReadsTheRtfIndentsAsFirstAndOffset) {
    // li 720, fi -360: the first line at 18 pt, the others 18 pt further.
    load("\\li720\\fi-360\\ri200\\sb100\\sa240\\qc text");
    EXPECT_EQ(para().Alignment(), TParaAlignment::paCenter);
    EXPECT_EQ(para().FirstIndent(), 18);
    EXPECT_EQ(para().LeftIndent(), 18);
    EXPECT_EQ(para().RightIndent(), 10);
    EXPECT_EQ(para().SpaceBefore(), 5);
    EXPECT_EQ(para().SpaceAfter(), 12);
}

TEST_F(ParagraphTest, WritesTouchEveryParagraphOfTheSelectionAndOnlyTheProperty) {
    load("\\qr one\\par two\\par three");
    select(1, 6); // "one" and "two"
    para().SetLeftIndent(24);
    para().SetAlignment(TParaAlignment::paJustify);
    select(5, 5);
    EXPECT_EQ(para().LeftIndent(), 24);
    EXPECT_EQ(para().Alignment(), TParaAlignment::paJustify);
    select(9, 9);
    EXPECT_EQ(para().LeftIndent(), 0);
    EXPECT_EQ(para().Alignment(), TParaAlignment::paRightJustify);
    // Saved and read back as the same twips.
    TMyRichEdit again;
    again.LoadFromBytes(edit.SaveToBytes());
    again.SetSelection(0, 0, false);
    EXPECT_EQ(again.Paragraph().LeftIndent(), 24);
}

TEST_F(ParagraphTest, LineSpacingRules) {
    load("text");
    struct Case {
        TLineSpacingRule rule;
        double value;
        double readBack;
    } cases[] = {
        {TLineSpacingRule::lsSingle, 0, 0},        {TLineSpacingRule::lsOneAndHalf, 0, 0},
        {TLineSpacingRule::lsDouble, 0, 0},        {TLineSpacingRule::lsAtLeast, 14, 14},
        {TLineSpacingRule::lsExactly, 20.5, 20.5}, {TLineSpacingRule::lsMultiple, 3, 3},
    };
    for (const Case& c : cases) {
        para().SetLineSpacing(c.rule, c.value);
        EXPECT_EQ(para().LineSpacingRule(), c.rule) << int(c.rule);
        EXPECT_DOUBLE_EQ(para().LineSpacing(), c.readBack) << int(c.rule);
        TMyRichEdit again;
        again.LoadFromBytes(edit.SaveToBytes());
        EXPECT_EQ(again.Paragraph().LineSpacingRule(), c.rule) << int(c.rule);
    }
}

TEST_F(ParagraphTest, NumberingKindsAndTheirOffset) {
    load("one\\par two\\par three");
    select(0, 8);
    for (int kind = 1; kind <= 6; ++kind) {
        SCOPED_TRACE(kind);
        para().SetNumbering(TRxNumbering(kind));
        EXPECT_EQ(int(para().Numbering()), kind);
        // The offset is at least 200 twips (10 points) once numbering is on.
        EXPECT_GE(para().LeftIndent(), 10);
        EXPECT_EQ(edit.document()->findBlock(0).textList(), edit.document()->findBlock(5).textList());
    }
    para().SetNumberingStart(4);
    para().SetNumberingStyle(nsParenthesises);
    EXPECT_EQ(para().NumberingStart(), 4);
    EXPECT_EQ(para().NumberingStyle(), int(nsParenthesises));
    const QByteArray saved = edit.SaveToBytes();
    EXPECT_TRUE(saved.contains("\\pnstart4"));
    para().SetNumbering(TRxNumbering::nsNone);
    EXPECT_EQ(para().Numbering(), TRxNumbering::nsNone);
    EXPECT_EQ(para().LeftIndent(), 0);
    EXPECT_EQ(edit.document()->findBlock(0).textList(), nullptr);
    select(10, 10);
    EXPECT_EQ(para().Numbering(), TRxNumbering::nsNone);
}

TEST_F(ParagraphTest, TabStopsUpToThirtyTwo) {
    load("a\\tab b");
    QList<int> tabs;
    for (int i = 1; i <= 40; ++i)
        tabs.append(i * 36);
    para().SetTabs(tabs);
    EXPECT_EQ(para().TabCount(), 32);
    EXPECT_EQ(para().Tab(0), 36);
    EXPECT_EQ(para().Tab(31), 32 * 36);
    EXPECT_EQ(para().Tab(32), 0);
    TMyRichEdit again;
    again.LoadFromBytes(edit.SaveToBytes());
    EXPECT_EQ(again.Paragraph().TabCount(), 32);
}

TEST_F(ParagraphTest, AllPropertiesInOneCall) {
    load("one\\par two");
    select(0, 5);
    TRxParaFormat f;
    f.alignment = TParaAlignment::paCenter;
    f.firstIndent = 12;
    f.leftIndent = 18;
    f.rightIndent = 6;
    f.spaceBefore = 3;
    f.spaceAfter = 9;
    f.lineSpacingRule = TLineSpacingRule::lsExactly;
    f.lineSpacing = 16;
    f.numbering = TRxNumbering::nsArabicNumbers;
    f.numberingStart = 1;
    f.numberingStyle = nsPeriod;
    f.tabs = {72, 144};
    para().Set(f);
    EXPECT_EQ(para().Get(), f);
    const int steps = edit.document()->availableUndoSteps();
    edit.Undo();
    EXPECT_EQ(para().Numbering(), TRxNumbering::nsNone);
    EXPECT_EQ(para().Alignment(), TParaAlignment::paLeftJustify);
    EXPECT_GT(steps, 0);
}
