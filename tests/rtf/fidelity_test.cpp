// Documents from other programs shown as they were written, and the RTF we
// write read back the same way by other readers.
#include "rtf/plain_body.h"
#include "rtf/properties.h"
#include "rtf/rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using namespace vlr::rtf;

TEST(Fidelity, OverrideLevelsGiveBulletsAndEachListCountsApart) {
    // A list override that brings its own level (list id -2 is not in the
    // table): its items are bullets in the document's Symbol character, and
    // the numbered list after it starts at its own 1.
    const QByteArray rtf =
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}}"
        "\\listid5}}"
        "{\\*\\listoverridetable{\\listoverride\\listid-2\\listoverridecount1{\\lfolevel\\listoverrideformat"
        "{\\listlevel\\levelnfc23\\levelstartat1{\\leveltext\\'01\\u-3913 ?;}}}\\ls1}"
        "{\\listoverride\\listid5\\listoverridecount0\\ls2}"
        "{\\listoverride\\listid5\\listoverridecount1{\\lfolevel\\listoverrideformat"
        "{\\listlevel\\levelnfc23{\\leveltext\\'01o;}}}\\ls3}}"
        "\\pard\\ls1 a\\par\\ls1 b\\par\\pard\\ls2 one\\par\\ls2 two\\par\\pard\\ls3 c\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    QTextList* bullets = doc.findBlockByNumber(0).textList();
    ASSERT_NE(bullets, nullptr);
    EXPECT_EQ(bullets->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(doc.findBlockByNumber(1).textList(), bullets);
    QTextList* numbers = doc.findBlockByNumber(2).textList();
    ASSERT_NE(numbers, nullptr);
    EXPECT_NE(numbers, bullets);
    EXPECT_EQ(numbers->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(numbers->itemNumber(doc.findBlockByNumber(3)), 1);
    QTextList* circles = doc.findBlockByNumber(4).textList();
    ASSERT_NE(circles, nullptr);
    EXPECT_EQ(circles->format().style(), QTextListFormat::ListCircle);

    // Written back, the bullet characters stay the document's own.
    QTextDocument back;
    ASSERT_TRUE(readRtf(writeRtf(&doc), &back));
    ASSERT_NE(back.findBlockByNumber(4).textList(), nullptr);
    EXPECT_EQ(back.findBlockByNumber(4).textList()->format().style(), QTextListFormat::ListCircle);
    EXPECT_EQ(back.findBlockByNumber(0).textList()->format().style(), QTextListFormat::ListDisc);
}

TEST(Fidelity, ListsWrittenSoEveryReaderNumbersThemAlike) {
    // Two numbered lists separated by a paragraph, one starting at 3: other
    // readers number by the list table, so each list needs its own one.
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextListFormat first;
    first.setStyle(QTextListFormat::ListDecimal);
    c.insertText("a1");
    c.createList(first);
    c.insertBlock();
    c.insertText("a2");
    c.insertBlock();
    c.currentList()->remove(c.block());
    QTextBlockFormat plain;
    c.setBlockFormat(plain);
    c.insertText("between");
    c.insertBlock();
    QTextListFormat second;
    second.setStyle(QTextListFormat::ListLowerRoman);
    second.setProperty(PropListStart, 3);
    c.insertText("b3");
    c.createList(second);
    const QByteArray out = writeRtf(&doc);
    EXPECT_TRUE(out.contains("{\\*\\listtable")) << out.constData();
    EXPECT_TRUE(out.contains("\\levelnfc2\\levelnfcn2")) << out.constData();
    EXPECT_TRUE(out.contains("\\levelstartat3")) << out.constData();
    EXPECT_TRUE(out.contains("\\ls1\\ilvl0")) << out.constData();
    EXPECT_TRUE(out.contains("\\ls2\\ilvl0")) << out.constData();
    // The \pn form says the number shown: 1 for the first item, 3 for the other list.
    EXPECT_TRUE(out.contains("\\pnstart1")) << out.constData();
    EXPECT_FALSE(out.contains("\\pnstart0")) << out.constData();
    EXPECT_TRUE(out.contains("\\pnstart3")) << out.constData();

    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back));
    QTextList* a = back.findBlockByNumber(0).textList();
    QTextList* b = back.findBlockByNumber(3).textList();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->count(), 2);
    EXPECT_EQ(b->format().style(), QTextListFormat::ListLowerRoman);
    EXPECT_EQ(b->format().intProperty(PropListStart), 3);
}

TEST(Fidelity, RaisedTextClosesBeforeTheParagraphEnd) {
    struct Case {
        const char* name;
        QTextCharFormat format;
        const char* closing;
    };
    QTextCharFormat super, sub, raised;
    super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    raised.setProperty(PropUp, 6);
    const Case cases[] = {
        {"super", super, "\\nosupersub"}, {"sub", sub, "\\nosupersub"}, {"up", raised, "\\up0"}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        QTextDocument doc;
        QTextCursor c(&doc);
        c.insertText("text ");
        c.insertText("marked", k.format);
        c.insertBlock();
        c.insertText("next line", QTextCharFormat());
        const QByteArray out = writeRtf(&doc);
        const qsizetype word = out.indexOf("marked");
        const qsizetype par = out.indexOf("\\par", word);
        const qsizetype close = out.indexOf(k.closing, word);
        ASSERT_GE(word, 0);
        EXPECT_TRUE(close > word && close < par) << out.constData();
        QTextDocument back;
        ASSERT_TRUE(readRtf(out, &back));
        EXPECT_EQ(back.toPlainText(), "text marked\nnext line");
    }
}

TEST(Fidelity, HeaderNamesTheGeneratorAndTabStops) {
    QTextDocument doc;
    ASSERT_TRUE(readRtf("{\\rtf1\\deftab360 a\\tab b\\par}", &doc));
    EXPECT_DOUBLE_EQ(doc.defaultTextOption().tabStopDistance(), 24.0);
    const QByteArray out = writeRtf(&doc);
    EXPECT_TRUE(out.contains("{\\*\\generator ")) << out.constData();
    EXPECT_TRUE(out.contains("\\deftab360")) << out.constData();
    QTextDocument absent;
    ASSERT_TRUE(readRtf("{\\rtf1 a\\tab b\\par}", &absent));
    EXPECT_DOUBLE_EQ(absent.defaultTextOption().tabStopDistance(), 48.0);
}

TEST(Fidelity, MissingFacesFallBackToTheirKind) {
    const QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman CYR;}"
                           "{\\f1\\fswiss Foo{\\*\\falt Arial};}{\\f2\\fmodern\\fprq1 Courier CE;}}"
                           "\\f0 a\\f1 b\\f2 c\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    const auto familiesAt = [&](int pos) {
        QTextCursor c(&doc);
        c.setPosition(pos);
        return c.charFormat().fontFamilies().toStringList();
    };
    EXPECT_EQ(familiesAt(1), (QStringList{"Times New Roman CYR", "Times New Roman", "serif"}));
    EXPECT_EQ(familiesAt(2), (QStringList{"Foo", "Arial", "sans-serif"}));
    EXPECT_EQ(familiesAt(3), (QStringList{"Courier CE", "Courier", "monospace"}));
    const QByteArray out = writeRtf(&doc);
    EXPECT_TRUE(out.contains("Times New Roman CYR;")) << out.constData();
    EXPECT_FALSE(out.contains("serif")) << out.constData();
}

TEST(Fidelity, TableWidthsAndBordersSurviveAndNoParagraphLeadsIt) {
    const QByteArray rtf = "{\\rtf1\\trowd\\cellx1000\\cellx4000 \\intbl\\cell\\cell\\row"
                           "\\trowd\\cellx1000\\cellx4000 \\intbl a\\cell b\\cell\\row\\pard after\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    QTextTable* table = nullptr;
    for (QTextFrame* f : doc.rootFrame()->childFrames()) {
        if ((table = qobject_cast<QTextTable*>(f)))
            break;
    }
    ASSERT_NE(table, nullptr);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_EQ(widths[0].type(), QTextLength::FixedLength);
    EXPECT_NEAR(widths[0].rawValue() * 15, 1000, 1);
    EXPECT_NEAR(widths[1].rawValue() * 15, 3000, 1);

    EXPECT_NE(table->format().layoutDirection(), Qt::RightToLeft);
    const QByteArray out = writeRtf(&doc);
    EXPECT_TRUE(out.contains("\\cellx1000")) << out.constData();
    EXPECT_TRUE(out.contains("\\cellx4000")) << out.constData();
    EXPECT_TRUE(out.contains("\\clbrdrt\\brdrs")) << out.constData();
    const qsizetype body = out.indexOf("\\viewkind4\\uc1");
    EXPECT_LT(out.indexOf("\\trowd"), out.indexOf("\\par", body)) << out.constData();
    // A right-to-left table keeps its direction both ways.
    QTextDocument rtl;
    ASSERT_TRUE(readRtf("{\\rtf1\\trowd\\taprtl\\cellx1000\\cellx2000 \\intbl a\\cell b\\cell\\row}", &rtl));
    QTextTable* rtlTable = qobject_cast<QTextTable*>(rtl.rootFrame()->childFrames().value(0));
    ASSERT_NE(rtlTable, nullptr);
    EXPECT_EQ(rtlTable->format().layoutDirection(), Qt::RightToLeft);
    const QByteArray rtlOut = writeRtf(&rtl);
    EXPECT_TRUE(rtlOut.contains("\\trowd\\trgaph108\\taprtl")) << rtlOut.constData();
}

TEST(Fidelity, FootnotesShownAtTheEndAndKeptOnSave) {
    const QByteArray cases[] = {
        // word processor form
        "{\\rtf1\\ansi\\ansicpg1251 Text{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} The \\'cd "
        "note.} after.\\par}",
        // converter form: a starred destination
        "{\\rtf1 Text{\\super\\chftn}{\\*\\footnote\\chftn\\~\\plain\\pard The \\u1053? note.\\par} "
        "after.\\par}",
    };
    for (const QByteArray& rtf : cases) {
        SCOPED_TRACE(rtf.constData());
        QTextDocument doc;
        ASSERT_TRUE(readRtf(rtf, &doc));
        const QString shown = doc.toPlainText();
        EXPECT_TRUE(shown.startsWith(u"Text1 after."_qs)) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(u"1. The Н note."_qs)) << shown.toStdString();
        const QByteArray out = writeRtf(&doc);
        EXPECT_TRUE(out.contains("\\chftn")) << out.constData();
        EXPECT_TRUE(out.contains("footnote")) << out.constData();
        EXPECT_FALSE(out.contains("1. The")) << out.constData();
        QTextDocument back;
        ASSERT_TRUE(readRtf(out, &back));
        EXPECT_EQ(back.toPlainText(), shown);
        EXPECT_EQ(rtfToPlainText(out), shown);
    }
}

QImage shownImage(const QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat())
                return doc.resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name()))
                    .value<QImage>();
        }
    }
    return {};
}

TEST(Fidelity, MetafileBitmapsAreDrawnAndTheMetafileKept) {
    // A 2x1 24-bit bitmap: red, then blue; rows padded to four bytes.
    QByteArray dib;
    const quint32 header[] = {40, 2, 1};
    dib.append(reinterpret_cast<const char*>(header), sizeof header);
    dib.append("\x01\x00\x18\x00", 4); // planes, bits
    dib.append(QByteArray(24, '\0'));  // no compression, sizes, colours
    dib.append("\x00\x00\xFF\xFF\x00\x00\x00\x00", 8);
    const auto le16 = [](QByteArray& a, int v) { a.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    const auto le32 = [&](QByteArray& a, int v) {
        le16(a, v & 0xFFFF);
        le16(a, v >> 16);
    };
    QByteArray wmf;
    for (int v : {1, 9, 0x300})
        le16(wmf, v);
    le32(wmf, 0);
    le16(wmf, 0);
    le32(wmf, 0);
    le16(wmf, 0);
    le32(wmf, (6 + 22 + int(dib.size())) / 2);
    le16(wmf, 0x0F43);
    wmf.append(QByteArray(22, '\0'));
    wmf.append(dib);
    le32(wmf, 3);
    le16(wmf, 0);

    QByteArray emf(88, '\0');
    emf[0] = 1;
    emf[4] = 88;
    emf.replace(40, 4, " EMF");
    QByteArray stretch(80, '\0');
    stretch[0] = 81;
    const int recordSize = 80 + int(dib.size());
    stretch[4] = char(recordSize);
    stretch[48] = 80;                    // bitmap info right after the record's fields
    stretch[52] = 40;                    // its size
    stretch[56] = 120;                   // the bits after it
    stretch[60] = char(dib.size() - 40); // their size
    emf += stretch + dib;

    struct Case {
        const char* word;
        QByteArray data;
    } cases[] = {{"wmetafile8", wmf}, {"emfblip", emf}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.word);
        const QByteArray rtf = "{\\rtf1{\\pict\\" + QByteArray(k.word) +
                               "\\picw53\\pich26\\picwgoal300\\pichgoal150 " + k.data.toHex() + "}\\par}";
        QTextDocument doc;
        ASSERT_TRUE(readRtf(rtf, &doc));
        const QImage image = shownImage(doc);
        ASSERT_EQ(image.size(), QSize(2, 1));
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(1, 0), QColor(Qt::blue));
        const QByteArray out = writeRtf(&doc);
        EXPECT_TRUE(out.contains(k.word)) << out.constData();
        EXPECT_TRUE(out.contains(k.data.toHex().left(64))) << out.constData();
    }
}

TEST(Fidelity, PortableRtfReadsTheSameInEveryReader) {
    const QString cases[] = {u"Привет, мир."_qs, u"Zażółć, gęślą jaźń."_qs, u"Ωμέγα, άλφα."_qs,
                             u"漢字, かな."_qs};
    const QString pandoc = QStandardPaths::findExecutable("pandoc");
    for (const QString& text : cases) {
        SCOPED_TRACE(text.toStdString());
        QTextDocument doc;
        doc.setPlainText(text);
        const QByteArray out = writeRtf(&doc, WritePortable);
        EXPECT_FALSE(out.contains("?,")) << out.constData();
        QTextDocument back;
        ASSERT_TRUE(readRtf(out, &back));
        EXPECT_EQ(back.toPlainText(), text);
        if (pandoc.isEmpty())
            continue;
        QProcess p;
        p.start(pandoc, {"-f", "rtf", "-t", "plain"});
        ASSERT_TRUE(p.waitForStarted());
        p.write(out);
        p.closeWriteChannel();
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), text);
    }
}

TEST(Fidelity, PlainTextFromOutsideIsUtf8WhenItIsValidUtf8) {
    struct Case {
        QByteArray bytes;
        QString outside, stored;
    } cases[] = {
        {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", u"Привет"_qs, u"РџСЂРёРІРµС‚"_qs},
        {"\xCF\xF0\xE8\xE2\xE5\xF2", u"Привет"_qs, u"Привет"_qs},
        {"\xEF\xBB\xBF\xCE\xA9", u"Ω"_qs, u"Ω"_qs},
        {"plain\r\nascii", u"plain\nascii"_qs, u"plain\nascii"_qs},
        {"\xD0\x9F\xFF", {}, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.bytes.toHex().constData());
        if (!k.stored.isEmpty()) {
            EXPECT_EQ(outsidePlainText(k.bytes), k.outside);
            EXPECT_EQ(plainBodyText(k.bytes), k.stored);
        } else {
            // Broken UTF-8 is Windows-1251, as stored bodies are.
            EXPECT_EQ(outsidePlainText(k.bytes), plainBodyText(k.bytes));
        }
    }
}

} // namespace

namespace {

TEST(Fidelity, ListItemsStartWhereTheirIndentsPutThem) {
    // Two levels of one list and a second list deeper still: each item's
    // lines start at its \li, its number ends before that, and a sub-level
    // is drawn right of its parent.
    const QByteArray rtf =
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"
        "{\\listlevel\\levelnfc4{\\leveltext\\'02\\'01);}}\\listid1}"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}}\\listid2}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}"
        "\\pard\\fi-360\\li720\\ls1 first item with a line long enough to wrap once it is laid out in a "
        "narrow "
        "page\\par"
        "\\pard\\fi-360\\li1080\\ls1\\ilvl1 sub\\par"
        "\\pard\\fi-360\\li1440\\ls2 deeper\\par"
        "\\pard\\fi-200\\li100\\ls1 tight\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc));
    doc.setTextWidth(300);
    (void)doc.size(); // lays the document out
    const struct {
        int block;
        qreal li; // pixels
        int fi;   // twips
    } cases[] = {{0, 48, -360}, {1, 72, -360}, {2, 96, -360}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.block);
        const QTextBlock b = doc.findBlockByNumber(c.block);
        ASSERT_NE(b.textList(), nullptr);
        EXPECT_DOUBLE_EQ(b.blockFormat().leftMargin(), c.li);
        EXPECT_EQ(b.blockFormat().textIndent(), 0);
        EXPECT_EQ(b.blockFormat().intProperty(PropListFirstIndent), c.fi);
        // The level is kept in the list; the block's indent takes Qt's list indent back.
        EXPECT_EQ(b.blockFormat().indent() + b.textList()->format().indent(), 0);
        for (int i = 0; i < b.layout()->lineCount(); ++i)
            EXPECT_NEAR(b.layout()->lineAt(i).x(), c.li, 0.5) << i;
    }
    EXPECT_GT(doc.findBlockByNumber(0).layout()->lineCount(), 1);
    EXPECT_EQ(doc.findBlockByNumber(1).textList()->format().indent(), 2);
    // Too little room for the number: Qt's own list indent stays so it shows.
    const QTextBlock tight = doc.findBlockByNumber(3);
    ASSERT_NE(tight.textList(), nullptr);
    EXPECT_GT(tight.layout()->lineAt(0).x(), 0);
    EXPECT_EQ(tight.blockFormat().indent(), 0);
    // Saved, each item keeps the hanging indent and margin it came with.
    const QByteArray out = writeRtf(&doc);
    for (const char* item :
         {"\\ilvl0\\fi-360\\li720 ", "\\ilvl1\\fi-360\\li1080 ", "\\ilvl0\\fi-360\\li1440 "})
        EXPECT_TRUE(out.contains(item)) << item << "\n" << out.toStdString();
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back));
    for (int block = 0; block < 3; ++block)
        EXPECT_EQ(back.findBlockByNumber(block).blockFormat().intProperty(PropListFirstIndent), -360)
            << block;
}

TEST(Fidelity, KeptGroupsMeanTheSameUnderTheWrittenCodePage) {
    // Groups kept as written go back under \ansicpg1251: their 8-bit text,
    // read under another page, must keep its characters; \u fallbacks and
    // line breaks between words stay as they were.
    const struct {
        const char* name;
        QByteArray rtf;
        QString footnote;
    } cases[] = {
        {"literal byte", "{\\rtf1\\ansi\\ansicpg1252 S{\\footnote caf\xe9}}", u"caf\u00e9"_qs},
        {"escaped byte", "{\\rtf1\\ansi\\ansicpg1252 S{\\footnote \\'8c uvre}}", u"\u0152 uvre"_qs},
        {"fallback after \\u", "{\\rtf1\\ansi\\ansicpg1252 S{\\footnote \\u1046\\'e9x}}", u"\u0416x"_qs},
        {"line break", "{\\rtf1\\ansi\\ansicpg1252 S{\\footnote\\b\r\nbold \xe9}}", u"bold \u00e9"_qs},
        {"\\u without a number", "{\\rtf1\\ansi\\ansicpg1252 S{\\footnote a\\u\xdb b}}", u"a"_qs},
        {"already cp1251", "{\\rtf1\\ansi\\ansicpg1251 S{\\footnote \\'cf\\'f0}}", u"\u041f\u0440"_qs},
        // Double-byte letters: the second byte may be ASCII, escaped or not.
        {"double-byte page", "{\\rtf1\\ansi\\ansicpg932 S{\\footnote \\'93\\'fa\\'96\\'7b}}",
         u"\u65e5\u672c"_qs},
        {"second byte a backslash", "{\\rtf1\\ansi\\ansicpg932 S{\\footnote \\'95\\\\x}}", u"\u8868x"_qs},
        {"double-byte font",
         "{\\rtf1\\ansi{\\fonttbl{\\f0 Serif;}{\\f1\\fcharset128 Mincho;}} S{\\footnote \\f1 \\'93\\'fa}}",
         u"\u65e5"_qs},
        {"page changed inside", "{\\rtf1\\ansi\\ansicpg1252 S{\\footnote caf\\'e9\\ansicpg932 \\'93\\'fa}}",
         u"caf\u00e9\u65e5"_qs},
        // Fonts are numbered anew on saving: the footnote's \\f2 then names the
        // double-byte font, which must not change its Windows-1251 letters.
        {"font numbered anew",
         "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Serif;}{\\f1\\fcharset128 "
         "Mincho;}{\\f2\\fcharset204 "
         "Sans;}}{\\f0 a}{\\f2 b}{\\f1 \\'93\\'fa}S{\\footnote \\f2 \\'cf\\'f0}}",
         u"\u041f\u0440"_qs},
        // The written document says \\uc1: the count the group was read with goes along.
        {"\\uc0 around the group", "{\\rtf1\\ansi\\uc0 S{\\footnote \\u1046 x}}", u"\u0416x"_qs},
        {"\\uc2 around the group", "{\\rtf1\\ansi\\uc2 S{\\footnote \\u1046 abx}}", u"\u0416x"_qs},
        {"the group's own \\uc", "{\\rtf1\\ansi\\uc0 S{\\footnote\\uc2 \\u1046 abx}}", u"\u0416x"_qs},
        {"text box", "{\\rtf1\\ansi\\ansicpg932 S{\\shp{\\*\\shpinst{\\shptxt \\'93\\'fa\\'96\\'7b}}}}",
         u"\u65e5\u672c"_qs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument doc;
        ASSERT_TRUE(readRtf(c.rtf, &doc));
        EXPECT_TRUE(doc.toPlainText().contains(c.footnote)) << doc.toPlainText().toStdString();
        const QByteArray out = writeRtf(&doc);
        QTextDocument back;
        ASSERT_TRUE(readRtf(out, &back));
        EXPECT_EQ(back.toPlainText(), doc.toPlainText()) << out.toStdString();
    }
}

TEST(Fidelity, FootnoteMarksSideBySideStayApart) {
    // Two marks with the same look must not merge into one on saving.
    for (const QByteArray& rtf : {QByteArray("{\\rtf1 a\\chftn\\chftn b}"),
                                  QByteArray("{\\rtf1 a\\chftn{\\footnote\\chftn one}\\chftn\\chftn b}"),
                                  // Two equal footnotes, each kept before its own text.
                                  QByteArray("{\\rtf1 a{\\footnote x}b{\\footnote x}c}")}) {
        SCOPED_TRACE(rtf.constData());
        QTextDocument doc;
        ASSERT_TRUE(readRtf(rtf, &doc));
        QTextDocument back;
        ASSERT_TRUE(readRtf(writeRtf(&doc), &back));
        EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    }
}

} // namespace
