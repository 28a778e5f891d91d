// Character attributes: reading what the range has in common, writing one
// property, the three views, and the values that survive saving as RTF.
#include "editor_fixture.h"

#include "editor/color_value.h"
#include "rtf/rtf.h"

using namespace vlr;
using namespace vlr::test;

namespace {

class AttributesTest : public EditorTest {
protected:
    TRxTextAttributes& sel() { return edit.SelAttributes(); }
};

} // namespace

TEST_F(AttributesTest, ReadingGivesWhatTheWholeRangeHasInCommon) {
    // 0..3 "aaa" bold red Arial 10; 3..6 "bbb" bold italic blue Courier 14, protected.
    load("\\b\\cf1 aaa\\i\\cf2\\f1\\fs28\\protect bbb");
    struct Case {
        int start, end;
        QString name;
        int size;
        int style;
        quint32 color;
        bool prot;
    } cases[] = {
        {0, 3, "Arial", 10, fsBold, 0x0000FF, false},
        {3, 6, "Courier New", 14, fsBold | fsItalic, 0xFF0000, true},
        {1, 5, "", 0, fsBold, kColorWindowText, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        select(c.start, c.end);
        EXPECT_EQ(sel().Name(), c.name);
        EXPECT_EQ(sel().Size(), c.size);
        EXPECT_EQ(sel().Style(), c.style);
        EXPECT_EQ(sel().Color(), c.color);
        EXPECT_EQ(sel().Protected(), c.prot);
    }
}

TEST_F(AttributesTest, WritingChangesOnlyTheNamedProperty) {
    load("\\b\\cf1 aaa\\b0\\i\\cf2\\f1\\fs28 bbb");
    select(0, 6);
    sel().SetSize(16);
    select(0, 3);
    EXPECT_EQ(sel().Size(), 16);
    EXPECT_EQ(sel().Style(), fsBold);
    EXPECT_EQ(sel().Color(), 0x0000FFu);
    EXPECT_EQ(sel().Name(), QStringLiteral("Arial"));
    select(3, 6);
    EXPECT_EQ(sel().Size(), 16);
    EXPECT_EQ(sel().Style(), fsItalic);
    EXPECT_EQ(sel().Name(), QStringLiteral("Courier New"));
    EXPECT_TRUE(edit.Modified());
}

TEST_F(AttributesTest, AutomaticColours) {
    load("\\cf1\\highlight2 x\\cf0\\highlight0 y");
    select(0, 1);
    EXPECT_EQ(sel().Color(), 0x0000FFu);
    EXPECT_EQ(sel().BackColor(), 0xFF0000u);
    for (quint32 automatic : {kColorWindowText, kColorAutomatic}) {
        sel().SetColor(0x00FF00);
        sel().SetColor(automatic);
        EXPECT_EQ(sel().Color(), kColorWindowText);
    }
    for (quint32 automatic : {kColorWindow, kColorAutomatic}) {
        sel().SetBackColor(0x00FF00);
        sel().SetBackColor(automatic);
        EXPECT_EQ(sel().BackColor(), kColorWindow);
    }
    select(1, 2);
    EXPECT_EQ(sel().Color(), kColorWindowText);
    EXPECT_EQ(sel().BackColor(), kColorWindow);
}

TEST_F(AttributesTest, UnderlineKindsSurviveSavingAndTurnUnderlineOn) {
    load("abcdefghijklmnopqrs");
    for (int kind : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18}) {
        SCOPED_TRACE(kind);
        select(kind, kind + 1);
        sel().SetUnderlineType(kind);
        EXPECT_EQ(sel().UnderlineType(), kind);
        EXPECT_TRUE(sel().Style() & fsUnderline);
    }
    TMyRichEdit again;
    again.LoadFromBytes(edit.SaveToBytes());
    for (int kind : {1, 4, 9, 13, 17}) {
        again.SetSelection(kind, kind + 1, false);
        EXPECT_EQ(again.SelAttributes().UnderlineType(), kind);
    }
    select(4, 5);
    sel().SetStyle(sel().Style() & ~fsUnderline);
    EXPECT_EQ(sel().UnderlineType(), 0);
}

TEST_F(AttributesTest, FlagsAndPositions) {
    load("normal text here");
    select(0, 6);
    sel().SetSubscriptStyle(TSubscriptStyle::ssSuperscript);
    sel().SetLanguage(1049);
    sel().SetCharset(2);
    sel().SetProtected(true);
    EXPECT_EQ(sel().SubscriptStyle(), TSubscriptStyle::ssSuperscript);
    EXPECT_TRUE(sel().Protected());
    EXPECT_EQ(sel().Language(), 1049);
    EXPECT_EQ(sel().Charset(), 2);
    TMyRichEdit again;
    again.LoadFromBytes(edit.SaveToBytes());
    again.SetSelection(0, 6, false);
    EXPECT_EQ(again.SelAttributes().SubscriptStyle(), TSubscriptStyle::ssSuperscript);
    EXPECT_TRUE(again.SelAttributes().Protected());
    EXPECT_EQ(again.SelAttributes().Language(), 1049);
}

TEST_F(AttributesTest, DisabledIsDrawnGreyWithoutChangingTheColour) {
    load("\\cf1 red text");
    select(0, 3);
    sel().SetDisabled(true);
    EXPECT_TRUE(sel().Disabled());
    EXPECT_EQ(sel().Color(), 0x0000FFu);
    edit.show();
    QCoreApplication::processEvents();
    const QTextLayout* layout = edit.document()->firstBlock().layout();
    ASSERT_NE(layout, nullptr);
    bool grey = false;
    for (const QTextLayout::FormatRange& r : layout->formats())
        grey |= r.start == 0 && r.length == 3 && r.format.foreground().color() != QColor(Qt::red);
    EXPECT_TRUE(grey);
}

TEST_F(AttributesTest, LinkIsReadFromFieldsAndRecognisedUrls) {
    load(
        "see {\\field{\\*\\fldinst{HYPERLINK \"http://a.example/\"}}{\\fldrslt{here}}} or www.b.example now");
    select(4, 8);
    EXPECT_TRUE(sel().Link());
    select(0, 3);
    EXPECT_FALSE(sel().Link());
    select(12, 25);
    EXPECT_FALSE(sel().Link());
    edit.SetAutoURLDetect(true);
    EXPECT_TRUE(sel().Link());
    EXPECT_EQ(edit.GetTextRange(12, 25), QStringLiteral("www.b.example"));
    // A recognised URL is not a field: saving writes no field for it.
    EXPECT_EQ(edit.SaveToBytes().count("HYPERLINK"), 1);
}

TEST_F(AttributesTest, WordViewActsOnTheWordAtTheCaret) {
    load("one two three");
    select(5, 5);
    edit.WordAttributes().SetStyle(fsBold);
    select(4, 7);
    EXPECT_EQ(sel().Style(), fsBold);
    select(0, 3);
    EXPECT_EQ(sel().Style(), 0);
}

TEST_F(AttributesTest, DefaultViewIsWhatTypingIntoAnEmptyControlGets) {
    QFont f(QStringLiteral("Courier New"));
    f.setPointSize(15);
    f.setItalic(true);
    edit.DefAttributes().Assign(f, 0x0000FF, 204);
    EXPECT_EQ(edit.DefAttributes().Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(edit.DefAttributes().Size(), 15);
    EXPECT_EQ(edit.DefAttributes().Style(), fsItalic);
    EXPECT_EQ(edit.DefAttributes().Color(), 0x0000FFu);
    edit.Clear();
    type("hi");
    select(0, 2);
    EXPECT_EQ(sel().Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(sel().Size(), 15);
    EXPECT_EQ(sel().Color(), 0x0000FFu);
}

TEST_F(AttributesTest, WholeFontIsOneWrite) {
    load("\\cf1\\ul abc");
    select(0, 3);
    QFont f(QStringLiteral("Courier New"));
    f.setPointSize(12);
    f.setBold(true);
    sel().Assign(f, 0x123456, 204);
    EXPECT_EQ(sel().Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(sel().Size(), 12);
    EXPECT_EQ(sel().Style(), fsBold);
    EXPECT_EQ(sel().Color(), 0x123456u);
    edit.Undo();
    EXPECT_EQ(sel().Style(), fsUnderline);
    EXPECT_EQ(sel().Color(), 0x0000FFu);
}

TEST_F(AttributesTest, PlainModeFormatsEverythingAlike) {
    edit.SetPlainText(true);
    edit.LoadFromBytes(QByteArray("one two"));
    select(0, 3);
    sel().SetSize(20);
    select(4, 7);
    EXPECT_EQ(sel().Size(), 20);
}

TEST(ColorValue, ExplicitAndSystemColours) {
    EXPECT_EQ(colorValue(QColor(0x11, 0x22, 0x33)), 0x332211u);
    EXPECT_EQ(colorFromValue(0x332211), QColor(0x11, 0x22, 0x33));
    QPalette p;
    p.setColor(QPalette::Text, Qt::darkGreen);
    EXPECT_EQ(colorFromValue(kColorWindowText, p), QColor(Qt::darkGreen));
}
