// Numbered lists that start elsewhere than at 1: the labels the control shows
// and paints, while editing the list and after saving it.
#include "editor/list_labels.h"
#include "editor_fixture.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextList>

namespace vlr::test {
namespace {

// Items numbered from `start` with the given texts.
QByteArray numberedFrom(int start, const char* items) {
    const QByteArray body = "{\\*\\pn\\pnlvlbody\\pndec\\pnstart" + QByteArray::number(start) +
                            "{\\pntxta .}}" + QByteArray(items);
    return rtfDoc(body.constData());
}

QStringList shownLabels(const QTextDocument* doc) {
    QStringList out;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        out << shownListLabel(b);
    return out;
}

class ListLabelTest : public EditorTest {};

TEST_F(ListLabelTest, ListFromThreeShowsThreeFourFive) {
    edit.LoadFromBytes(numberedFrom(3, "one\\par two\\par three"));
    EXPECT_EQ(shownLabels(edit.document()), (QStringList{"3.", "4.", "5."}));
    // What Qt would draw on its own, and the reason the control paints.
    EXPECT_EQ(qtListLabel(edit.document()->begin()), QStringLiteral("1."));
}

TEST_F(ListLabelTest, EnterContinuesAndBackspaceEndsTheItemWithTheFileUnchanged) {
    edit.LoadFromBytes(numberedFrom(3, "one\\par two"));
    select(edit.TextLength(), edit.TextLength());
    key(Qt::Key_Return);
    type(QStringLiteral("x"));
    EXPECT_EQ(shownLabels(edit.document()), (QStringList{"3.", "4.", "5."}));
    const QByteArray saved = edit.SaveToBytes();
    EXPECT_TRUE(saved.contains("\\pnstart3")) << saved.constData();
    TMyRichEdit again;
    again.LoadFromBytes(saved);
    EXPECT_EQ(shownLabels(again.document()), (QStringList{"3.", "4.", "5."}));

    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    EXPECT_EQ(edit.document()->lastBlock().textList(), nullptr);
    EXPECT_EQ(shownLabels(edit.document()), (QStringList{"3.", "4.", ""}));
}

// The label strip left of a paragraph's first line, in viewport pixels.
QImage labelStrip(TMyRichEdit& e, int blockNumber) {
    const QTextBlock b = e.document()->findBlockByNumber(blockNumber);
    const QRectF bounds = e.document()->documentLayout()->blockBoundingRect(b);
    const QTextLine first = b.layout()->lineAt(0);
    const int textLeft = int(bounds.left() + first.naturalTextRect().left());
    const QRect strip(0, int(bounds.top() + first.y()), textLeft - 2, int(first.height()));
    return e.viewport()->grab().toImage().copy(strip);
}

TEST_F(ListLabelTest, PaintedLabelMatchesQtsOwnForTheSameNumber) {
    // Item "3." of a list from 1 is drawn by Qt; the first item of a list
    // from 3 is painted by the control: the two must look the same.
    edit.LoadFromBytes(numberedFrom(3, "c"));
    TMyRichEdit fromOne;
    fromOne.resize(edit.size());
    fromOne.LoadFromBytes(numberedFrom(1, "a\\par b\\par c"));
    edit.show();
    fromOne.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fromOne));
    // Selected items have highlighted labels, zoomed ones larger; the caret
    // stays off the strips.
    for (const auto& [selected, zoom] : {std::pair{false, 100}, {true, 100}, {false, 250}}) {
        SCOPED_TRACE(testing::Message() << (selected ? "selected" : "not selected") << " at " << zoom << "%");
        edit.SetZoomPercent(zoom);
        fromOne.SetZoomPercent(zoom);
        select(selected ? 0 : edit.TextLength(), edit.TextLength());
        fromOne.SetSelection(selected ? 0 : fromOne.TextLength(), fromOne.TextLength(), false);
        const QImage painted = labelStrip(edit, 0);
        const QImage drawnByQt = labelStrip(fromOne, 2);
        ASSERT_FALSE(painted.isNull());
        EXPECT_EQ(painted, drawnByQt);
        EXPECT_NE(labelStrip(fromOne, 0), drawnByQt) << "the strips hold no label at all";
    }
}

TEST_F(ListLabelTest, PrintedPagesShowTheListsOwnNumbers) {
    // Qt's layout alone prints "1." for both lists; the page must not.
    auto printed = [](const QByteArray& rtf) {
        TMyRichEdit e;
        e.LoadFromBytes(rtf);
        QImage page(400, 200, QImage::Format_RGB32);
        page.setDotsPerMeterX(3780);
        page.setDotsPerMeterY(3780);
        page.fill(Qt::white);
        QPainter painter(&page);
        e.FormatRange({nullptr, &painter, QRect(0, 0, 1440 * 4, 1440 * 2), 0, -1});
        painter.end();
        return page;
    };
    EXPECT_NE(printed(numberedFrom(3, "c")), printed(numberedFrom(1, "c")));
    EXPECT_EQ(printed(numberedFrom(1, "c")), printed(numberedFrom(1, "c")));
}

} // namespace
} // namespace vlr::test
