// The link click protocol over fields and recognised URLs.
#include "editor_fixture.h"

#include "editor/links.h"

#include <QApplication>
#include <QMouseEvent>

using namespace vlr;
using namespace vlr::test;

namespace {

struct Click {
    TCharRange range;
    QString text;
    TMouseButton button;
    bool dbl;
};

class LinkTest : public EditorTest {
protected:
    LinkTest() {
        // "one" 4..7 and "two" 12..15 are fields; a URL at 20..33.
        load("see {\\field{\\*\\fldinst{HYPERLINK \"http://one/\"}}{\\fldrslt{one}}} and "
             "{\\field{\\*\\fldinst{HYPERLINK \"http://two/\"}}{\\fldrslt{two}}} at www.x.example end");
        edit.SetAutoURLDetect(true);
        edit.show();
        edit.OnURLClick = [this](TMyCustomRichEdit*, TCharRange r, const QString& text, TMouseButton b,
                                 Qt::KeyboardModifiers shift, bool dbl) {
            EXPECT_EQ(shift, Qt::NoModifier);
            clicks.append({r, text, b, dbl});
        };
        edit.OnURLMouseOver = [this](TMyCustomRichEdit*, TCharRange) { ++overs; };
    }
    QPoint at(int pos) { return edit.GetCharPos(pos) + QPoint(2, 3); }
    void send(QEvent::Type type, int pos, Qt::MouseButton button,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const QPoint p = at(pos);
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, p, edit.viewport()->mapToGlobal(p), button, held, mods);
        QApplication::sendEvent(edit.viewport(), &e);
    }
    QList<Click> clicks;
    int overs = 0;
};

} // namespace

TEST_F(LinkTest, PressAndReleaseOnOneLinkClicksOnce) {
    send(QEvent::MouseButtonPress, 5, Qt::LeftButton, Qt::ControlModifier);
    send(QEvent::MouseButtonRelease, 5, Qt::LeftButton, Qt::ControlModifier);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0].range, (TCharRange{4, 7}));
    EXPECT_EQ(clicks[0].text, QStringLiteral("one"));
    EXPECT_EQ(clicks[0].button, TMouseButton::mbLeft);
    EXPECT_FALSE(clicks[0].dbl);
    EXPECT_EQ(overs, 2);
}

TEST_F(LinkTest, PressOnOneLinkAndReleaseOnAnotherRaisesNothing) {
    send(QEvent::MouseButtonPress, 5, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 13, Qt::LeftButton);
    EXPECT_TRUE(clicks.isEmpty());
    send(QEvent::MouseButtonPress, 5, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 1, Qt::LeftButton); // plain text
    EXPECT_TRUE(clicks.isEmpty());
}

TEST_F(LinkTest, DoubleClickGivesSingleThenDouble) {
    send(QEvent::MouseButtonPress, 13, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 13, Qt::LeftButton);
    send(QEvent::MouseButtonDblClick, 13, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 13, Qt::LeftButton);
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_FALSE(clicks[0].dbl);
    EXPECT_TRUE(clicks[1].dbl);
    EXPECT_EQ(clicks[1].text, QStringLiteral("two"));
}

TEST_F(LinkTest, RightClickAndRecognisedUrls) {
    send(QEvent::MouseButtonPress, 22, Qt::RightButton);
    send(QEvent::MouseButtonRelease, 22, Qt::RightButton);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0].button, TMouseButton::mbRight);
    EXPECT_EQ(clicks[0].text, QStringLiteral("www.x.example"));
    // The right release forgot the range.
    send(QEvent::MouseButtonRelease, 22, Qt::RightButton);
    EXPECT_EQ(clicks.size(), 1);
    // Without recognition the same text is no link.
    edit.SetAutoURLDetect(false);
    send(QEvent::MouseButtonPress, 22, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 22, Qt::LeftButton);
    EXPECT_EQ(clicks.size(), 1);
}

TEST(DetectUrls, RecognisedForms) {
    struct Case {
        const char* text;
        QList<TCharRange> urls;
    } cases[] = {
        {"no links here", {}},
        {"go to http://example.com/a?b=1.", {{6, 30}}},
        {"mailto:me@example.com and www.ya.ru", {{0, 21}, {26, 35}}},
        {"(see https://x.org/path)", {{5, 23}}},
        {"ftp://host file://c/d", {{0, 10}, {11, 21}}},
        {"time 10:30 is not a link", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(detectUrls(QString::fromLatin1(c.text)), c.urls) << c.text;
}

TEST_F(LinkTest, DoubleClickOnAPictureSetsModified) {
    load("a{\\pict\\pngblip\\picw1\\pich1\\picwgoal300\\pichgoal300 "
         "89504e470d0a1a0a0000000d4948445200000001000000010806000000"
         "1f15c4890000000d49444154789c63f8cfc0f01f0005000201a5f2c7a50000000049454e44ae426082}b");
    ASSERT_EQ(edit.TextLength(), 3);
    ASSERT_FALSE(edit.Modified());
    send(QEvent::MouseButtonDblClick, 1, Qt::LeftButton);
    EXPECT_TRUE(edit.Modified());
}
