// One page at a time onto any paint device.
#include "editor_fixture.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

using namespace vlr;
using namespace vlr::test;

namespace {

class FormatRangeTest : public EditorTest {
protected:
    FormatRangeTest() {
        QByteArray body;
        for (int i = 0; i < 60; ++i)
            body += "Paragraph number " + QByteArray::number(i) + " with some words to wrap around.\\par ";
        load(body.constData());
        page = QImage(816, 1056, QImage::Format_RGB32); // letter at 96 dpi
        page.setDotsPerMeterX(3780);
        page.setDotsPerMeterY(3780);
    }
    QImage page;
    const QRect rc{1440, 1440, 1440 * 6, 1440 * 8}; // one-inch margins, twips
};

} // namespace

TEST_F(FormatRangeTest, PagesCoverTheTextInOrder) {
    QList<int> starts;
    int pos = 0;
    while (pos < edit.TextLength() && starts.size() < 100) {
        starts.append(pos);
        const int next = edit.FormatRange({&page, nullptr, rc, pos, -1});
        ASSERT_GT(next, pos);
        pos = next;
    }
    EXPECT_EQ(pos, edit.TextLength());
    EXPECT_GE(starts.size(), 2);
    // A page ends at a line start: the next page begins a line.
    EXPECT_EQ(edit.Text().at(starts[1] - 1), u'\n');
    // The range end bounds the page.
    EXPECT_EQ(edit.FormatRange({&page, nullptr, rc, 0, 30}), 30);
    edit.FormatRange({});
}

TEST_F(FormatRangeTest, RenderingDrawsInsideTheRectangleOnly) {
    page.fill(Qt::white);
    QPainter painter(&page);
    const int next = edit.FormatRange({nullptr, &painter, rc, 0, -1});
    painter.end();
    EXPECT_GT(next, 0);
    bool inside = false, outside = false;
    for (int y = 0; y < page.height(); y += 2) {
        for (int x = 0; x < page.width(); x += 2) {
            if (page.pixel(x, y) == qRgb(255, 255, 255))
                continue;
            const bool in = x >= 96 && x < 96 + 576 && y >= 96 && y < 96 + 768;
            (in ? inside : outside) = true;
        }
    }
    EXPECT_TRUE(inside);
    EXPECT_FALSE(outside);
}

TEST_F(FormatRangeTest, BadRequestsAreRefused) {
    EXPECT_EQ(edit.FormatRange({&page, nullptr, QRect(0, 0, 0, 100), 0, -1}), -1);
    EXPECT_EQ(edit.FormatRange({&page, nullptr, rc, -3, -1}), -1);
    EXPECT_EQ(edit.FormatRange({&page, nullptr, rc, 50, 20}), -1);
    EXPECT_EQ(edit.FormatRange({&page, nullptr, rc, edit.TextLength(), -1}), edit.TextLength());
}

TEST_F(FormatRangeTest, PreviewPageRecordedForThePrinterResolution) {
    // The page is measured for the "printer" and recorded into a picture,
    // which plays back the same page.
    QPicture picture;
    QPainter recorder(&picture);
    const int next = edit.FormatRange({&page, &recorder, rc, 0, -1});
    recorder.end();
    EXPECT_EQ(next, edit.FormatRange({&page, nullptr, rc, 0, -1}));
    page.fill(Qt::white);
    QPainter player(&page);
    player.drawPicture(0, 0, picture);
    player.end();
    int ink = 0;
    for (int y = 0; y < page.height(); y += 2) {
        for (int x = 0; x < page.width(); x += 2)
            ink += page.pixel(x, y) != qRgb(255, 255, 255);
    }
    EXPECT_GT(ink, 100);
}
