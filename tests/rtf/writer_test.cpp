// The RTF the writer produces: the fixed forms other parts read back, and
// what must survive a save unchanged.
#include "doc_compare.h"
#include "rtf/properties.h"
#include "rtf/rtf.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using namespace vlr::rtf;

QByteArray roundTrip(const QByteArray& rtf, QTextDocument* doc) {
    EXPECT_TRUE(readRtf(rtf, doc));
    return writeRtf(doc);
}

TEST(Writer, HeaderInTheRichEditForm) {
    QTextDocument doc;
    doc.setPlainText("x");
    const QByteArray out = writeRtf(&doc);
    EXPECT_TRUE(out.startsWith("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0"))
        << out.constData();
    EXPECT_TRUE(out.contains("\\viewkind4\\uc1\\pard")) << out.constData();
    EXPECT_TRUE(out.trimmed().endsWith('}'));
}

TEST(Writer, FontTableAndPlainRtf) {
    QTextDocument doc;
    QTextCharFormat f;
    f.setFontFamilies(QStringList{"Odd;Name"});
    f.setProperty(PropLang, 1049);
    QTextCursor(&doc).insertText("x", f);
    const QByteArray out = writeRtf(&doc);
    EXPECT_TRUE(out.contains("OddName;}")) << out.constData();
    EXPECT_TRUE(out.contains("\\lang1049"));
    const QByteArray plain = writeRtf(&doc, WritePlainRtf);
    EXPECT_FALSE(plain.contains("\\lang")) << plain.constData();
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back));
    QTextCursor c(&back);
    c.setPosition(1);
    EXPECT_EQ(c.charFormat().fontFamilies().toStringList().value(0), "OddName");
}

TEST(Writer, TextEscapes) {
    struct Case {
        QString text;
        QByteArray rtf;
    } cases[] = {
        {u"Привет"_qs, "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2"},
        {u"€№"_qs, "\\'88\\'b9"},
        {u"Ωé"_qs, "\\u937?\\u233?"},
        {u"\U0001F600"_qs, "\\u-10179?\\u-8704?"},
        {u"{a}\\b"_qs, "\\{a\\}\\\\b"},
        {u"a\tb\u00A0c"_qs, "a\\tab b\\~c"},
        {u"a\u007Fb"_qs, "a\\u127?b"},
    };
    for (const Case& c : cases) {
        QTextDocument doc;
        QTextCursor(&doc).insertText(c.text);
        const QByteArray out = writeRtf(&doc);
        EXPECT_TRUE(out.contains(c.rtf)) << out.constData();
        QTextDocument back;
        ASSERT_TRUE(readRtf(out, &back));
        EXPECT_EQ(back.toRawText(), c.text);
    }
}

TEST(Writer, LinkInTheFormTheDialogReads) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText("see ");
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(u"file://C:\\Docs\\a \"b\".txt"_qs);
    c.insertText(u"T\\x"_qs, link);
    c.insertText(" end", QTextCharFormat());
    const QByteArray out = writeRtf(&doc);
    // The target's backslashes doubled twice (field syntax, then RTF), the title's once.
    EXPECT_TRUE(
        out.contains("{\\field{\\*\\fldinst{HYPERLINK \"file://C:\\\\\\\\Docs\\\\\\\\a \\\\\"b\\\\\".txt\"}}"
                     "{\\fldrslt{T\\\\x}}}"))
        << out.constData();
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back));
    EXPECT_EQ(vlr::test::compareDocuments(doc, back).toStdString(), "");
}

TEST(Writer, SelectionOnly) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText("first line");
    c.insertBlock();
    c.insertText("second");
    QTextCursor sel(&doc);
    sel.setPosition(6);
    sel.setPosition(14, QTextCursor::KeepAnchor);
    const QByteArray out = writeRtf(&doc, WriteSelection, &sel);
    EXPECT_EQ(rtfToPlainText(out), "line\nsec");
    // Inside one paragraph, no paragraph mark is written.
    sel.setPosition(0);
    sel.setPosition(5, QTextCursor::KeepAnchor);
    const QByteArray part = writeRtf(&doc, WriteSelection, &sel);
    EXPECT_FALSE(QString::fromLatin1(part).contains(QRegularExpression("\\\\par(?![a-z])")))
        << part.constData();
    EXPECT_EQ(rtfToPlainText(part), "first");
}

QByteArray pngBytes(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::green);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return png;
}

TEST(Writer, PicturesKeepBytesAndGoalSize) {
    const QByteArray png = pngBytes({3, 5});
    const QByteArray rtf =
        "{\\rtf1 a{\\pict\\pngblip\\picw3\\pich5\\picwgoal450\\pichgoal750 " + png.toHex() + "}b}";
    QTextDocument doc;
    const QByteArray out = roundTrip(rtf, &doc);
    EXPECT_TRUE(out.contains("{\\pict\\pngblip\\picw3\\pich5\\picwgoal450\\pichgoal750\r\n"))
        << out.constData();
    EXPECT_TRUE(QByteArray(out).replace("\r\n", "").contains(png.toHex()));

    // A picture put in by the editor (an image resource, no RTF of its own).
    QTextDocument made;
    made.addResource(QTextDocument::ImageResource, QUrl("mem:1"), QImage(8, 4, QImage::Format_RGB32));
    QTextImageFormat f;
    f.setName("mem:1");
    f.setWidth(16);
    f.setHeight(8);
    QTextCursor(&made).insertImage(f);
    const QByteArray written = writeRtf(&made);
    EXPECT_TRUE(written.contains("\\pngblip\\picw8\\pich4\\picwgoal240\\pichgoal120")) << written.constData();
    QTextDocument back;
    ASSERT_TRUE(readRtf(written, &back));
    QTextCursor bc(&back);
    bc.setPosition(1);
    EXPECT_DOUBLE_EQ(bc.charFormat().toImageFormat().width(), 16);
}

TEST(Writer, WhatTheDocumentCannotShowIsWrittenBackUnchanged) {
    const QByteArray object = "{\\object\\objemb{\\*\\objclass Paint}\\objw300\\objh300{\\*\\objdata 0102ff}"
                              "{\\result{\\pict\\wmetafile8\\picw10\\pich10 0a0b}}}";
    const QByteArray metafile = "{\\pict\\wmetafile8\\picw20\\pich20\\picwgoal300\\pichgoal300 0c0d}";
    const QByteArray unknown = "{\\*\\mydest keep {me} \\'e0}";
    const QByteArray rtf = "{\\rtf1\\ansi a" + object + "b" + metafile + "c" + unknown + "d{\\v hidden}e}";
    QTextDocument doc;
    const QByteArray out = roundTrip(rtf, &doc);
    EXPECT_EQ(doc.toPlainText(), u"a\uFFFCb\uFFFCcde"_qs);
    EXPECT_TRUE(out.contains(object)) << out.constData();
    EXPECT_TRUE(out.contains(metafile));
    // Read under Windows-1252 (no \ansicpg), its text keeps its meaning
    // under the Windows-1251 the writer declares.
    EXPECT_TRUE(out.contains("{\\*\\mydest keep {me} {\\uc1\\u224?}}")) << out.constData();
    EXPECT_TRUE(out.contains("{\\v hidden}"));
    QTextDocument again;
    EXPECT_EQ(roundTrip(out, &again), out);

    const QByteArray noObjects = writeRtf(&doc, WriteNoObjects);
    EXPECT_FALSE(noObjects.contains("\\object"));
    EXPECT_TRUE(noObjects.contains(metafile));
}

TEST(Writer, TablesAndListsMadeInTheEditor) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText("before");
    QTextTable* t = c.insertTable(2, 3);
    for (int r = 0; r < 2; ++r) {
        for (int col = 0; col < 3; ++col)
            t->cellAt(r, col).firstCursorPosition().insertText(QStringLiteral("r%1c%2").arg(r).arg(col));
    }
    c = t->lastCursorPosition();
    c.movePosition(QTextCursor::NextCharacter);
    c.insertText("after");
    QTextListFormat lf;
    lf.setStyle(QTextListFormat::ListLowerRoman);
    lf.setNumberSuffix(")");
    c.insertBlock();
    c.insertText("one");
    c.createList(lf);
    c.insertBlock();
    c.insertText("two");
    const QByteArray out = writeRtf(&doc);
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back));
    EXPECT_EQ(vlr::test::compareDocuments(doc, back).toStdString(), "") << out.constData();
    EXPECT_TRUE(out.contains("{\\pntext ii)\\tab}")) << out.constData();
}

} // namespace
