// Text boxes: their text shown where the box stands, the box itself kept as
// written and saved back once, never doubled.
#include "rtf/properties.h"
#include "rtf/rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

using namespace vlr::rtf;

struct BoxCase {
    const char* name;
    QByteArray rtf;
    QString text;      // the document's text as shown
    QStringList boxes; // the shown boxes' texts
    QByteArray kept;   // a part of the box's group that the written RTF keeps
};

class TextBox : public ::testing::TestWithParam<BoxCase> {};

QStringList shownBoxes(const QTextDocument& doc) {
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().boolProperty(PropFootnoteEcho))
            out << b.text();
    }
    return out;
}

TEST_P(TextBox, ShownWhereItStandsAndKeptOnce) {
    const BoxCase& bc = GetParam();
    QTextDocument doc;
    ASSERT_TRUE(readRtf(bc.rtf, &doc));
    EXPECT_EQ(doc.toPlainText().toStdString(), bc.text.toStdString());
    EXPECT_EQ(shownBoxes(doc).join(u'|').toStdString(), bc.boxes.join(u'|').toStdString());
    EXPECT_EQ(rtfToPlainText(bc.rtf), doc.toPlainText());

    // Saved, the box is its original group, once; its shown text is not
    // written as a paragraph of its own.
    const QByteArray written = writeRtf(&doc);
    EXPECT_EQ(written.count(bc.kept), 1) << written.toStdString();
    QTextDocument back;
    ASSERT_TRUE(readRtf(written, &back));
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    EXPECT_EQ(shownBoxes(back), bc.boxes);
    EXPECT_EQ(writeRtf(&back), written);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, TextBox,
    ::testing::Values(
        BoxCase{
            "ShapeWithItsResult",
            "{\\rtf1\\pard before {\\shp{\\*\\shpinst\\shpleft10\\shpright900{\\sp{\\sn shapeType}{\\sv 202}}"
            "{\\shptxt \\pard Here is a text box\\par second line\\par}}"
            "{\\shprslt{\\*\\do\\dobxcolumn\\dptxbx{\\dptxbxtext\\pard Here is a text box\\par}}}}after\\par "
            "next\\par}",
            u"before after\nHere is a text box\nsecond line\nnext"_qs,
            {u"Here is a text box\u2028second line"_qs},
            "{\\sp{\\sn shapeType}{\\sv 202}}"},
        BoxCase{"DrawingObjectAlone",
                "{\\rtf1\\pard one{\\*\\do\\dobxcolumn\\dptxbx{\\dptxbxtext\\pard In the \\b box\\b0\\par}"
                "\\dpx10\\dpy10}\\par}",
                u"one\nIn the box"_qs,
                {u"In the box"_qs},
                "\\dptxbx{\\dptxbxtext"},
        BoxCase{"BoxInATableShowsAfterTheTable",
                "{\\rtf1\\trowd\\cellx2000\\pard\\intbl cell{\\shp{\\*\\shpinst{\\shptxt boxed}}}\\cell\\row"
                "\\pard after\\par}",
                u"\ncell\nafter\nboxed"_qs,
                {u"boxed"_qs},
                "{\\shptxt boxed}"},
        BoxCase{"BoxInTheLastParagraph",
                "{\\rtf1\\pard end{\\shp{\\*\\shpinst{\\shptxt last}}}}",
                u"end\nlast"_qs,
                {u"last"_qs},
                "{\\shptxt last}"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextBox, ShapeWithoutTextShowsItsResultAsBefore) {
    const QByteArray rtf = "{\\rtf1\\pard a{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 1}}}"
                           "{\\shprslt shown}}b\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    EXPECT_EQ(doc.toPlainText(), u"ashownb");
    EXPECT_TRUE(shownBoxes(doc).isEmpty());
}

TEST(TextBox, TableAfterABoxKeepsTheBoxApart) {
    // The box shows before the table also when the table itself ends the
    // paragraph holding the box, so that the saved box comes back in place.
    for (const QByteArray& rtf : {QByteArray("{\\rtf1\\pard p{\\shp{\\*\\shpinst{\\shptxt box}}}\\par"
                                             "\\trowd\\cellx1000\\pard\\intbl c\\cell\\row\\pard\\par}"),
                                  QByteArray("{\\rtf1\\pard p{\\shp{\\*\\shpinst{\\shptxt box}}}"
                                             "\\trowd\\cellx1000\\pard\\intbl c\\cell\\row\\pard\\par}"),
                                  QByteArray("{\\rtf1 p{\\shp{\\*\\shpinst{\\shptxt box}}}l\\cell}")}) {
        SCOPED_TRACE(rtf.constData());
        QTextDocument doc;
        ASSERT_TRUE(readRtf(rtf, &doc));
        EXPECT_EQ(shownBoxes(doc), QStringList{u"box"_qs});
        EXPECT_EQ(rtfToPlainText(rtf), doc.toPlainText());
        QTextDocument back;
        ASSERT_TRUE(readRtf(writeRtf(&doc), &back));
        EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    }
}

TEST(TextBox, CopiedSelectionCarriesTheBoxOnce) {
    const QByteArray rtf =
        "{\\rtf1\\pard before {\\shp{\\*\\shpinst{\\shptxt \\pard Boxed words\\par}}}after\\par "
        "next\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    QTextCursor all(&doc);
    all.select(QTextCursor::Document);
    const QByteArray copied = writeRtf(&doc, WriteSelection, &all);
    EXPECT_EQ(copied.count("Boxed words"), 1) << copied.toStdString();
    QTextDocument back;
    ASSERT_TRUE(readRtf(copied, &back));
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
}

} // namespace
