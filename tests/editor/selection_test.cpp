// Selection, replacing and inserting text, text ranges, lines and find.
#include "editor_fixture.h"

#include "editor/selection_bar.h"

#include <QApplication>
#include <QMouseEvent>

using namespace vlr;
using namespace vlr::test;

namespace {

class SelectionTest : public EditorTest {};

} // namespace

TEST_F(SelectionTest, ReplaceSelectionLeavesExactlyTheNewTextSelected) {
    load("alpha beta gamma");
    select(6, 10);
    edit.SetSelText(QStringLiteral("BETA\r\nline"));
    EXPECT_EQ(edit.Text(), QStringLiteral("alpha BETA\nline gamma"));
    EXPECT_EQ(edit.SelStart(), 6);
    EXPECT_EQ(edit.SelLength(), 9);
    EXPECT_EQ(edit.SelText(), QStringLiteral("BETA\nline"));
    // A second conversion acts on the same text again.
    edit.SetSelText(edit.SelText().toLower());
    EXPECT_EQ(edit.Text(), QStringLiteral("alpha beta\nline gamma"));
    EXPECT_EQ(edit.SelText(), QStringLiteral("beta\nline"));
    // Undoable, one step each.
    edit.Undo();
    EXPECT_EQ(edit.Text(), QStringLiteral("alpha BETA\nline gamma"));
    edit.Undo();
    EXPECT_EQ(edit.Text(), QStringLiteral("alpha beta gamma"));
}

TEST_F(SelectionTest, InsertTextTakesCurrentAttributesAndLeavesCaretAfter) {
    load("a \\b bold\\b0  c");
    select(4, 4); // inside the bold word
    edit.InsertText(QStringLiteral("XY"));
    EXPECT_EQ(edit.Text(), QStringLiteral("a boXYld c"));
    EXPECT_EQ(edit.SelStart(), 6);
    EXPECT_EQ(edit.SelLength(), 0);
    select(4, 6);
    EXPECT_TRUE(edit.SelAttributes().Style() & fsBold);
    EXPECT_TRUE(edit.CanUndo());
}

TEST_F(SelectionTest, SetSelectionClampsAndHandlesSpecialValues) {
    load("0123456789");
    struct Case {
        int start, end;
        int selStart, selLength;
    } cases[] = {
        {2, 5, 2, 3}, {5, 2, 2, 3}, {0, -1, 0, 10}, {8, 100, 8, 2}, {-1, 0, 10, 0},
    };
    for (const Case& c : cases) {
        edit.SetSelection(c.start, c.end, true);
        EXPECT_EQ(edit.SelStart(), c.selStart) << c.start << "," << c.end;
        EXPECT_EQ(edit.SelLength(), c.selLength) << c.start << "," << c.end;
    }
}

TEST_F(SelectionTest, TextRangeLinesAndCaret) {
    edit.SetWordWrap(false);
    load("first\\par second line\\par\\par last");
    EXPECT_EQ(edit.GetTextRange(3, 9), QStringLiteral("st\nsec"));
    EXPECT_EQ(edit.GetTextRange(16, 100), QStringLiteral("e\n\nlast"));
    EXPECT_EQ(edit.LineCount(), 4);
    struct Case {
        int pos, line, lineStart, lineLength;
    } cases[] = {{0, 0, 0, 5}, {5, 0, 0, 5}, {6, 1, 6, 11}, {18, 2, 18, 0}, {22, 3, 19, 4}};
    for (const Case& c : cases) {
        EXPECT_EQ(edit.LineFromChar(c.pos), c.line) << c.pos;
        EXPECT_EQ(edit.GetLineIndex(c.line), c.lineStart) << c.pos;
        EXPECT_EQ(edit.GetLineLength(c.pos), c.lineLength) << c.pos;
    }
    EXPECT_EQ(edit.GetLineIndex(9), -1);
    select(3, 9);
    EXPECT_EQ(edit.CaretPos(), QPoint(3, 1)); // the selection's end
}

TEST_F(SelectionTest, WrappedLinesCountAsLines) {
    edit.resize(120, 300);
    edit.show();
    load("word word word word word word word word word word word word word word");
    ASSERT_GT(edit.LineCount(), 1);
    const int second = edit.GetLineIndex(1);
    EXPECT_GT(second, 0);
    EXPECT_EQ(edit.LineFromChar(second), 1);
    EXPECT_EQ(edit.LineFromChar(second - 1), 0);
}

TEST_F(SelectionTest, FindHonoursDirectionWordAndCase) {
    load("Cat concat cat CAT");
    struct Case {
        const char* name;
        int start, length;
        TRichSearchTypes options;
        int expected;
    } cases[] = {
        {"down from 0", 0, -1, {}, 0},
        {"down from 1", 1, -1, {}, 7},
        {"whole word", 1, -1, stWholeWord, 11},
        {"match case", 12, -1, stMatchCase, -1},
        {"match case whole word", 0, -1, TRichSearchTypes(stMatchCase | stWholeWord), 11},
        {"up", 0, 14, stBackward, 11},
        {"up whole word case", 0, 14, TRichSearchTypes(stBackward | stMatchCase), 11},
        {"range too short", 7, 2, {}, -1},
        {"match must fit the range", 6, 3, {}, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(edit.FindText(QStringLiteral("cat"), c.start, c.length, c.options), c.expected) << c.name;
    }
    EXPECT_EQ(edit.FindText(QStringLiteral("CAT"), 0, -1, TRichSearchTypes(stMatchCase | stSetSelection)),
              15);
    EXPECT_EQ(edit.SelStart(), 15);
    EXPECT_EQ(edit.SelLength(), 3);
}

TEST_F(SelectionTest, WordBreakAndSelectionType) {
    load("one two");
    EXPECT_EQ(edit.FindWordBreak(0), 4);
    EXPECT_EQ(edit.FindWordBreak(5), 7);
    select(1, 1);
    EXPECT_EQ(edit.SelectionType(), TRichSelectionType());
    select(1, 2);
    EXPECT_EQ(edit.SelectionType(), TRichSelectionType(stText));
    select(1, 5);
    EXPECT_EQ(edit.SelectionType(), TRichSelectionType(stText | stMultiChar));
}

TEST_F(SelectionTest, SelectionChangeEventFollowsTheCaret) {
    load("abcdef");
    int events = 0;
    edit.OnSelectionChange = [&](TMyCustomRichEdit*) { ++events; };
    select(2, 4);
    EXPECT_EQ(events, 1);
    select(2, 4);
    EXPECT_EQ(events, 1);
    key(Qt::Key_Right);
    EXPECT_GE(events, 2);
}

TEST_F(SelectionTest, InsertSymbolTakesTheFontAndCodePage) {
    load("ab");
    select(1, 1);
    EXPECT_EQ(edit.InsertSymbol(0xC0, QStringLiteral("Times New Roman"), 204), 2);
    EXPECT_EQ(edit.Text(), QStringLiteral("aАb"));
    EXPECT_EQ(edit.InsertSymbol(0xB7, QStringLiteral("Symbol"), 2), 3);
    EXPECT_EQ(edit.Text(), QString::fromUtf8("aА\u00B7b"));
    select(1, 2);
    EXPECT_EQ(edit.SelAttributes().Name(), QStringLiteral("Times New Roman"));
    select(2, 3);
    EXPECT_EQ(edit.SelAttributes().Name(), QStringLiteral("Symbol"));
    EXPECT_EQ(edit.SelAttributes().Charset(), 2);
    select(0, 1);
    EXPECT_EQ(edit.SelAttributes().Name(), QStringLiteral("Arial"));
}

namespace {

void sendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, p, w->mapToGlobal(p), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST_F(SelectionTest, SelectionBarSelectsWholeLines) {
    edit.SetWordWrap(false);
    edit.SetSelectionBar(true);
    edit.show();
    load("first line\\par second line\\par third");
    auto* bar = edit.findChild<TSelectionBar*>();
    ASSERT_NE(bar, nullptr);
    const int y2 = edit.GetCharPos(12).y() + 2;
    const int y3 = edit.GetCharPos(25).y() + 2;
    sendMouse(bar, QEvent::MouseButtonPress, QPoint(2, y2), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(edit.SelText(), QStringLiteral("second line\n"));
    sendMouse(bar, QEvent::MouseMove, QPoint(2, y3), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(edit.SelText(), QStringLiteral("second line\nthird"));
    edit.SetSelectionBar(false);
    EXPECT_EQ(edit.findChild<TSelectionBar*>(), nullptr);
}

TEST_F(SelectionTest, DraggingPastTheFirstWordSelectsWholeWords) {
    edit.show();
    load("alpha beta gamma delta");
    QWidget* vp = edit.viewport();
    const QPoint from = edit.GetCharPos(2) + QPoint(1, 3); // inside "alpha"
    const QPoint to = edit.GetCharPos(13) + QPoint(1, 3);  // inside "gamma"
    const QPoint near = edit.GetCharPos(4) + QPoint(1, 3); // still inside "alpha"
    sendMouse(vp, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    sendMouse(vp, QEvent::MouseMove, near, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(edit.SelText(), QStringLiteral("ph"));
    sendMouse(vp, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(edit.SelText(), QStringLiteral("alpha beta gamma"));
    sendMouse(vp, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);

    edit.SetWordSelection(false);
    select(0, 0);
    sendMouse(vp, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    sendMouse(vp, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(edit.SelText(), QStringLiteral("pha beta ga"));
    sendMouse(vp, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}
