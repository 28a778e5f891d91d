// Damaged and hostile input: read as far as it goes, never a crash, a hang
// or memory out of proportion to the input.
#include "rtf/convert.h"
#include "rtf/rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using namespace vlr::rtf;

struct BadCase {
    const char* name;
    QByteArray rtf;
    QString textStart; // what the readable part starts with
};

class Malformed : public ::testing::TestWithParam<BadCase> {};

TEST_P(Malformed, ReadsWhatItCanAndAgreesWithItself) {
    const BadCase& c = GetParam();
    QElapsedTimer timer;
    timer.start();
    QTextDocument doc;
    ASSERT_TRUE(readRtf(c.rtf, &doc));
    const QString text = rtfToPlainText(c.rtf);
    EXPECT_EQ(text, doc.toPlainText());
    EXPECT_TRUE(text.startsWith(c.textStart)) << text.left(80).toStdString();
    // Whatever was read can be written and read again.
    const QByteArray out = writeRtf(&doc);
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back));
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    EXPECT_FALSE(convertData(c.rtf, {}).isEmpty());
    EXPECT_LT(timer.elapsed(), 5000);
}

QByteArray repeated(const char* s, int n) {
    return QByteArray(s).repeated(n);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Malformed,
    ::testing::Values(
        BadCase{"missing_closing_braces", "{\\rtf1 abc{\\b def", "abcdef"},
        BadCase{"extra_closing_braces", "{\\rtf1 abc}}}} trailing", "abc"},
        BadCase{"closing_before_opening", "{\\rtf1 a}b{c", "a"},
        BadCase{"truncated_in_a_word", "{\\rtf1 abc\\pa", "abc"},
        BadCase{"truncated_after_backslash", "{\\rtf1 abc\\", "abc"},
        BadCase{"truncated_hex", "{\\rtf1 abc\\'4", "abc"},
        BadCase{"bad_hex", "{\\rtf1 a\\'zzb\\'g1c", "a?zzb?g1c"},
        BadCase{"huge_bin_count", "{\\rtf1 a\\bin2147483647 xyz}", "a"},
        BadCase{"negative_bin_count", "{\\rtf1 a\\bin-5 b}", "ab"},
        BadCase{"huge_uc", "{\\rtf1{\\uc2147483647\\u1046 swallowed} kept}", u"Ж kept"_qs},
        BadCase{"huge_u", "{\\rtf1\\u99999999?\\u-99999999?x}", u"\uFFFD\uFFFDx"_qs},
        BadCase{"long_word_and_number",
                "{\\rtf1 " + repeated("a", 0) + "\\" + repeated("z", 5000) + "12345678901234567890 t}", "z"},
        BadCase{"deep_nesting", "{\\rtf1 " + repeated("{", 100000) + "deep" + repeated("}", 100000) + " end}",
                "deep end"},
        BadCase{"deep_nesting_unclosed", "{\\rtf1 " + repeated("{\\b ", 100000) + "x", "x"},
        BadCase{"many_fields",
                "{\\rtf1 " + repeated("{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt y}}", 20000) + "}",
                "yyy"},
        BadCase{"pict_without_data", "{\\rtf1 a{\\pict\\pngblip}b{\\pict\\jpegblip 00ff}c}",
                u"a\uFFFCb\uFFFCc"_qs},
        BadCase{"garbage_png",
                "{\\rtf1{\\pict\\pngblip\\picwgoal-5\\pichgoal2147483647 89504e470d0a1a0a0000}}",
                u"\uFFFC"_qs},
        BadCase{"cell_without_table", "{\\rtf1 a\\cell b\\row c\\cell}", "a\n\nb\nc"},
        BadCase{"list_override_to_nothing", "{\\rtf1\\pard\\ls99\\ilvl12 item\\par}", "item"},
        BadCase{"star_before_text", "{\\rtf1 a{\\*keis \\par }b}", "akeis \nb"},
        BadCase{"destination_after_text", "{\\rtf1 {x\\*\\foo y}{z\\pict\\wmetafile8 00}c}", u"xz\uFFFCc"_qs},
        BadCase{"font_table_inside_picture",
                "{\\rtf1 a{\\pict\\wmetafile8 00{\\fonttbl\\pard x{\\object y}}}b}", u"a\uFFFCb"_qs},
        BadCase{"binary_braces_in_skipped_groups", "{\\rtf1 a{\\*\\foo \\bin1 }}b{\\info\\bin1 {}c}", "abc"},
        BadCase{"structure_char_after_a_format_change", "{\\rtf1 a\\b\\u0?b}", u"a\uFFFDb"_qs},
        BadCase{"extreme_parameters",
                "{\\rtf1\\pard\\sl-2147483648\\fi-2147483648\\li2147483647\\tx-2147483648\\ls2147483647"
                "\\ilvl-2147483648{\\*\\pn\\pnlvl-2147483648\\pnstart2147483647}\\up-2147483648 x\\par y\\par"
                "{\\pict\\pngblip\\picwgoal2147483647\\pichgoal-2147483648\\picscalex2147483647 00}}",
                "x\ny"},
        BadCase{"nul_bytes", QByteArray("{\\rtf1 a\0b}", 10), "ab"}),
    [](const auto& info) { return std::string(info.param.name); });

quint32 crc32(const QByteArray& data) {
    quint32 c = 0xFFFFFFFFu;
    for (const char byte : data) {
        c ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

QByteArray chunk(const QByteArray& type, const QByteArray& data) {
    QByteArray out;
    const auto be32 = [&out](quint32 v) {
        for (int s = 24; s >= 0; s -= 8)
            out.append(char((v >> s) & 0xFF));
    };
    be32(quint32(data.size()));
    out += type + data;
    be32(crc32(type + data));
    return out;
}

// A valid PNG of side x side grey pixels, all zero: a few kilobytes of input.
QByteArray pngBomb(quint32 side) {
    QByteArray ihdr;
    for (int i = 0; i < 2; ++i)
        for (int s = 24; s >= 0; s -= 8)
            ihdr.append(char((side >> s) & 0xFF));
    ihdr += QByteArray::fromHex("0800000000"); // 8-bit grey
    const QByteArray rows(qsizetype(side) * (side + 1), '\0');
    return QByteArray::fromHex("89504e470d0a1a0a") + chunk("IHDR", ihdr) +
           chunk("IDAT", qCompress(rows, 9).mid(4)) + chunk("IEND", {});
}

TEST(MalformedInput, PictureBombsAreNotDecoded) {
    const QByteArray bomb = pngBomb(9000); // 81 million pixels from about 80 KB
    const QByteArray pict = "{\\pict\\pngblip\\picwgoal1500\\pichgoal1500 " + bomb.toHex() + "}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf("{\\rtf1 " + pict + pict + "}", &doc));
    QTextCursor c(&doc);
    c.setPosition(1);
    const QTextImageFormat f = c.charFormat().toImageFormat();
    EXPECT_DOUBLE_EQ(f.width(), 100);
    const QImage shown = doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
    EXPECT_LE(shown.width(), 64);
    // The bytes themselves are kept and written back.
    EXPECT_TRUE(writeRtf(&doc).replace("\r\n", "").contains(bomb.toHex()));
}

TEST(MalformedInput, HugeSpacingAndIndentsStayWithinWhatWordProcessorsAllow) {
    // A line of millions of points in a nested table sent the layout into a
    // loop; 22 inches is the most word processors offer.
    const QByteArray nested = "{\\rtf\\itap2\\sl60000040tblat2\\cellx\\par\\";
    const QByteArray plain = "{\\rtf1\\pard\\sl16000000\\sb16000000\\sa16000000\\li16000000\\ri16000000"
                             "\\fi-16000000 a\\par}";
    for (const QByteArray& rtf : {nested, plain}) {
        SCOPED_TRACE(rtf.constData());
        QTextDocument doc;
        ASSERT_TRUE(readRtf(rtf, &doc));
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            const QTextBlockFormat f = b.blockFormat();
            for (qreal v : {f.lineHeight(), f.topMargin(), f.bottomMargin(), f.leftMargin(), f.rightMargin(),
                            qAbs(f.textIndent())})
                EXPECT_LE(v, 31680 / 15.0 + 50); // pixels; a list indent may come on top
        }
        QElapsedTimer timer;
        timer.start();
        doc.setTextWidth(600);
        EXPECT_GT(doc.documentLayout()->documentSize().height(), 0);
        EXPECT_LT(timer.elapsed(), 5000);
    }
}

TEST(MalformedInput, NotRtfAtAll) {
    for (const QByteArray& data :
         {QByteArray(), QByteArray("foobar"), QByteArray("/{\\rtf1 x}"), QByteArray("\x89PNG\r\n", 6)}) {
        QTextDocument doc;
        QString error;
        EXPECT_FALSE(readRtf(data, &doc, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(looksLikeRtf(data));
    }
}

} // namespace
