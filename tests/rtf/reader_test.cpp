// What the reader makes of small RTF fixtures: text, attributes, lists, links.
#include "doc_compare.h"
#include "rtf/properties.h"
#include "rtf/rtf.h"
#include "rtf/state.h"

#include <QBuffer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using namespace vlr::rtf;

struct TextCase {
    const char* name;
    QByteArray rtf;
    QString text;
};

class ReaderText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ReaderText, DocumentAndPlainTextAgree) {
    const TextCase& c = GetParam();
    QTextDocument doc;
    ASSERT_TRUE(readRtf(c.rtf, &doc));
    EXPECT_EQ(doc.toPlainText().toStdU16String(), c.text.toStdU16String());
    EXPECT_EQ(rtfToPlainText(c.rtf).toStdU16String(), c.text.toStdU16String());
}

TEST_P(ReaderText, RoundTripsAndWritesStably) {
    QTextDocument doc;
    ASSERT_TRUE(readRtf(GetParam().rtf, &doc));
    const QByteArray written = writeRtf(&doc);
    QTextDocument back;
    ASSERT_TRUE(readRtf(written, &back));
    EXPECT_EQ(vlr::test::compareDocuments(doc, back).toStdString(), "") << written.constData();
    EXPECT_EQ(writeRtf(&back), written);
}

const QString kObj(QChar::ObjectReplacementCharacter);

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderText,
    ::testing::Values(
        TextCase{"final_par_is_the_last_mark", "{\\rtf1 one\\par two\\par}", u"one\ntwo"_qs},
        TextCase{"empty_paragraphs_kept", "{\\rtf1 a\\par\\par b}", u"a\n\nb"_qs},
        TextCase{"specials",
                 "{\\rtf1 a\\tab b\\line "
                 "c\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~\\-\\_}",
                 u"a\tb\nc\u2014\u2013\u2022\u2018\u2019\u201C\u201D \u00AD\u2011"_qs},
        TextCase{"escaped_braces_and_backslash", "{\\rtf1 \\{x\\}\\\\}", u"{x}\\"_qs},
        TextCase{"ansicpg1251_hex", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", u"При"_qs},
        TextCase{"font_charset_beats_ansicpg",
                 "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset204 A;}{\\f1\\fcharset238 "
                 "B;}}\\f0\\'e0\\f1\\'e8}",
                 u"\u0430č"_qs},
        TextCase{"dbcs_pairs", "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a8}", u"お"_qs},
        TextCase{"dbcs_with_ascii", "{\\rtf1\\ansi\\ansicpg932 a~\\'82\\'a8\\\\b}", u"a~お\\b"_qs},
        TextCase{"unicode_with_fallback_skip", "{\\rtf1\\uc1\\u1046?\\uc2\\u1046\\'3f\\'3fz{\\uc0\\u1046}}",
                 u"ЖЖzЖ"_qs},
        TextCase{"negative_unicode_and_pairs", "{\\rtf1\\u-3913?\\u-10179?\\u-9047?}",
                 u"\uF0B7\U0001F4A9"_qs},
        TextCase{"hidden_text_left_out", "{\\rtf1 a{\\v secret}b\\v c\\v0 d}", u"abd"_qs},
        TextCase{"numbering_text_left_out", "{\\rtf1{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec}item}",
                 u"item"_qs},
        TextCase{"unknown_destination_skipped", "{\\rtf1 a{\\*\\foo hidden}b{\\info{\\title t}}c}",
                 u"abc"_qs},
        TextCase{"field_result_shown", "{\\rtf1{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}} p}", u"7 p"_qs},
        TextCase{"binary_in_body_skipped", "{\\rtf1 a\\bin3 xyzb}", u"ab"_qs},
        TextCase{"picture_is_one_char", "{\\rtf1 a{\\pict\\wmetafile8\\picw10\\pich10 0102}b}",
                 u"a"_qs + kObj + u"b"_qs},
        TextCase{"object_is_one_char",
                 "{\\rtf1 a{\\object\\objemb{\\*\\objdata 0102}{\\result{\\pict\\dibitmap0 00}}}b}",
                 u"a"_qs + kObj + u"b"_qs},
        TextCase{"table_cells",
                 "{\\rtf1 x\\par\\trowd\\cellx100\\cellx200\\intbl a\\cell b\\cell\\row\\pard y}",
                 u"x\na\nb\ny"_qs},
        TextCase{"short_row_padded",
                 "{\\rtf1\\trowd\\cellx1\\cellx2\\intbl a\\cell b\\cell\\row\\trowd\\cellx1\\intbl "
                 "c\\cell\\row\\pard z}",
                 u"\na\nb\nc\n\nz"_qs},
        TextCase{"backslash_newline_is_par", "{\\rtf1 a\\\nb}", u"a\nb"_qs},
        TextCase{"control_chars_do_not_split", "{\\rtf1 a\\'0db\\u8233?c}", u"a b c"_qs}),
    [](const auto& info) { return std::string(info.param.name); });

QTextCharFormat formatAt(const QTextDocument& doc, const QString& word) {
    const int pos = doc.toPlainText().indexOf(word);
    EXPECT_GE(pos, 0) << word.toStdString();
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(pos + 1);
    return c.charFormat();
}

TEST(Reader, CharacterAttributes) {
    const QByteArray rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}{\\f1 Courier New;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "\\pard plain {\\b bold} {\\i ital} {\\ul ul} {\\uld dot} {\\uldb dbl} {\\ulth thick} "
        "{\\strike st} {\\striked1 dst} {\\cf1 red} {\\highlight2 hl} {\\super sup} {\\sub sb} "
        "{\\up6 raised} {\\protect prot} {\\disabled dis} {\\lang1049 ru} {\\f1\\fs40 big} "
        "{\\caps cap} {\\b\\plain pl}}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    EXPECT_EQ(formatAt(doc, "plain").fontFamilies().toStringList().value(0), "Arial");
    EXPECT_EQ(formatAt(doc, "plain").fontPointSize(), 12);
    EXPECT_EQ(formatAt(doc, "plain").fontWeight(), QFont::Normal);
    EXPECT_EQ(formatAt(doc, "bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(doc, "ital").fontItalic());
    EXPECT_EQ(formatAt(doc, "ul").underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(formatAt(doc, "dot").underlineStyle(), QTextCharFormat::DotLine);
    EXPECT_EQ(formatAt(doc, "dbl").intProperty(PropUnderlineKind), int(UlDouble));
    EXPECT_EQ(formatAt(doc, "thick").intProperty(PropUnderlineKind), int(UlThick));
    EXPECT_TRUE(formatAt(doc, "st").fontStrikeOut());
    EXPECT_TRUE(formatAt(doc, "dst").boolProperty(PropStrikeDouble));
    EXPECT_EQ(formatAt(doc, "red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(doc, "hl").background().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatAt(doc, "sup").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatAt(doc, "sb").verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatAt(doc, "raised").intProperty(PropUp), 6);
    EXPECT_TRUE(formatAt(doc, "prot").boolProperty(PropProtect));
    EXPECT_TRUE(formatAt(doc, "dis").boolProperty(PropDisabled));
    EXPECT_EQ(formatAt(doc, "ru").intProperty(PropLang), 1049);
    EXPECT_EQ(formatAt(doc, "big").fontFamilies().toStringList().value(0), "Courier New");
    EXPECT_EQ(formatAt(doc, "big").fontPointSize(), 20);
    EXPECT_EQ(formatAt(doc, "cap").fontCapitalization(), QFont::AllUppercase);
    EXPECT_EQ(formatAt(doc, "pl").fontWeight(), QFont::Normal);
}

TEST(Reader, ParagraphAttributes) {
    const QByteArray rtf = "{\\rtf1\\pard\\qc\\fi-360\\li720\\ri150\\sb60\\sa120\\sl360\\slmult1"
                           "\\tqr\\tldot\\tx2880\\tx4320 first\\par\\pard\\qj\\sl-300\\slmult0 second\\par"
                           "\\pard\\qr third}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    const QTextBlockFormat a = doc.findBlockByNumber(0).blockFormat();
    EXPECT_EQ(a.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(a.textIndent(), -24);
    EXPECT_DOUBLE_EQ(a.leftMargin(), 48);
    EXPECT_DOUBLE_EQ(a.rightMargin(), 10);
    EXPECT_DOUBLE_EQ(a.topMargin(), 4);
    EXPECT_DOUBLE_EQ(a.bottomMargin(), 8);
    EXPECT_EQ(a.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(a.lineHeight(), 150);
    ASSERT_EQ(a.tabPositions().size(), 2);
    EXPECT_EQ(a.tabPositions()[0].type, QTextOption::RightTab);
    EXPECT_DOUBLE_EQ(a.tabPositions()[1].position, 288);
    const QTextBlockFormat b = doc.findBlockByNumber(1).blockFormat();
    EXPECT_EQ(b.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_EQ(b.lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_DOUBLE_EQ(b.lineHeight(), 20);
    // The last paragraph has no \par: the attributes in force at the end are its own.
    EXPECT_EQ(doc.findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST(Reader, ListsOfBothKinds) {
    const QByteArray rtf =
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc4\\levelstartat3{\\leveltext\\'02\\'00);}}"
        "\\listid7}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}}"
        "\\pard{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}b1\\par{\\pntext\\'b7\\tab}b2\\par"
        "\\pard{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart4{\\pntxta .}}r1\\par"
        "\\pard\\ls1 x1\\par\\pard plain\\par\\pard\\ls1 x2\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    QTextList* bullets = doc.findBlockByNumber(0).textList();
    ASSERT_NE(bullets, nullptr);
    EXPECT_EQ(bullets, doc.findBlockByNumber(1).textList());
    EXPECT_EQ(bullets->format().style(), QTextListFormat::ListDisc);
    QTextList* roman = doc.findBlockByNumber(2).textList();
    ASSERT_NE(roman, nullptr);
    EXPECT_NE(roman, bullets);
    EXPECT_EQ(roman->format().style(), QTextListFormat::ListUpperRoman);
    EXPECT_EQ(roman->format().intProperty(PropListStart), 4);
    EXPECT_EQ(roman->format().numberSuffix(), ".");
    QTextList* letters = doc.findBlockByNumber(3).textList();
    ASSERT_NE(letters, nullptr);
    EXPECT_EQ(letters->format().style(), QTextListFormat::ListLowerAlpha);
    EXPECT_EQ(letters->format().intProperty(PropListStart), 3);
    EXPECT_EQ(letters->format().numberSuffix(), ")");
    EXPECT_EQ(doc.findBlockByNumber(4).textList(), nullptr);
    // A word-processor list goes on counting after an interruption.
    EXPECT_EQ(doc.findBlockByNumber(5).textList(), letters);
}

TEST(Reader, HyperlinkTargets) {
    struct Case {
        QByteArray inst;
        QString target;
    } cases[] = {
        {"HYPERLINK \"http://example.com/\"", "http://example.com/"},
        {"HYPERLINK \"note://./{0F2A0000-1111-2222-3333-444455556666}\"",
         "note://./0F2A0000-1111-2222-3333-444455556666"},
        {"HYPERLINK \"C:\\\\\\\\Docs\\\\\\\\a b.txt\"", "C:\\Docs\\a b.txt"},
        {"HYPERLINK \\\\l \"anchor\"", "#anchor"},
        {"HYPERLINK  plain.htm ", "plain.htm"},
    };
    for (const Case& c : cases) {
        const QByteArray rtf = "{\\rtf1{\\field{\\*\\fldinst{" + c.inst + "}}{\\fldrslt{title}}} after}";
        QTextDocument doc;
        ASSERT_TRUE(readRtf(rtf, &doc));
        EXPECT_EQ(doc.toPlainText(), "title after");
        EXPECT_EQ(formatAt(doc, "title").anchorHref(), c.target) << c.inst.constData();
        EXPECT_FALSE(formatAt(doc, "after").isAnchor());
    }
}

TEST(Reader, PicturesKeepTheirSizeAndBytes) {
    QImage img(4, 2, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    const QByteArray rtf =
        "{\\rtf1{\\pict\\pngblip\\picw4\\pich2\\picwgoal600\\pichgoal300 " + png.toHex() + "}}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    QTextCursor c(&doc);
    c.setPosition(1);
    const QTextImageFormat f = c.charFormat().toImageFormat();
    ASSERT_TRUE(f.isValid());
    EXPECT_DOUBLE_EQ(f.width(), 40);
    EXPECT_DOUBLE_EQ(f.height(), 20);
    EXPECT_EQ(f.property(PropPictData).toByteArray(), png);
    const QImage shown = doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
    EXPECT_EQ(shown.size(), QSize(4, 2));
}

TEST(Reader, InsertKeepsTheCursorFormatsAndTheLinkForm) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat base;
    base.setFontFamilies(QStringList{"Verdana"});
    base.setFontPointSize(14);
    c.insertText("ab", base);
    c.setPosition(1);
    // The form the hyperlink dialog streams in for a note link.
    const QByteArray link =
        "{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;}\\cf1{\\field{\\*\\fldinst{HYPERLINK "
        "\"note://./{0F2A0000-1111-2222-3333-444455556666}\"}}{\\fldrslt{Title}}}}";
    ASSERT_TRUE(insertRtf(link, c));
    EXPECT_EQ(doc.toPlainText(), "aTitleb");
    EXPECT_EQ(c.position(), 6);
    const QTextCharFormat f = formatAt(doc, "Title");
    EXPECT_EQ(f.anchorHref(), "note://./0F2A0000-1111-2222-3333-444455556666");
    EXPECT_EQ(f.foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(f.fontFamilies().toStringList().value(0), "Verdana");
    EXPECT_EQ(f.fontPointSize(), 14);
    // Removing the link streams in the title alone.
    c.setPosition(1);
    c.setPosition(6, QTextCursor::KeepAnchor);
    ASSERT_TRUE(insertRtf("{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;}Title}", c));
    EXPECT_EQ(doc.toPlainText(), "aTitleb");
    EXPECT_FALSE(formatAt(doc, "Title").isAnchor());
}

TEST(Reader, InsertedPictureKeepsTheParagraph) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centred);
    c.insertText("ab");
    c.setPosition(1);
    // The form the picture command streams in.
    ASSERT_TRUE(insertRtf("{\\rtf1\\ansi\\deff0\\par{\\pict\\wmetafile8\\picw26\\pich26\\picwgoal15"
                          "\\pichgoal15\r\n0100\r\n}}",
                          c));
    EXPECT_EQ(doc.toPlainText(), u"a\n\uFFFCb"_qs);
    EXPECT_EQ(c.position(), 3);
    EXPECT_EQ(doc.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(doc.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST(Reader, PastedParagraphMarksAndPageBreaksStay) {
    QTextDocument source;
    QTextCursor s(&source);
    s.insertText("p1");
    s.insertBlock();
    s.insertText("p2");
    s.insertBlock();
    s.insertText("rest");
    s.setPosition(0);
    s.setPosition(6, QTextCursor::KeepAnchor); // both paragraphs with their marks
    const QByteArray copied = writeRtf(&source, WriteSelection, &s);

    QTextDocument target;
    QTextCursor c(&target);
    c.insertText("XY");
    c.setPosition(1);
    ASSERT_TRUE(insertRtf(copied, c));
    EXPECT_EQ(target.toPlainText(), "Xp1\np2\nY");

    // The page-break piece of the export: the next note starts on a new page.
    ASSERT_TRUE(insertRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Verdana;}}\\page}", c));
    EXPECT_EQ(target.toPlainText(), "Xp1\np2\n\nY");
    EXPECT_TRUE(c.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

TEST(Reader, NotRtfIsReportedAndLeavesTheDocument) {
    QTextDocument doc;
    doc.setPlainText("keep");
    QString error;
    EXPECT_FALSE(readRtf("just text", &doc, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(doc.toPlainText(), "keep");
    EXPECT_EQ(rtfToPlainText("\xEF\xBB\xBFline\r\nnext"), "line\nnext");
    EXPECT_EQ(rtfToPlainText("\xcf\xf0\xe8"), u"При"_qs);
}

} // namespace
