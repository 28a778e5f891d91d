// Damaged and hostile input: read as far as it goes, never a crash, a hang
// or memory out of proportion to the input.
#include "rtf/convert.h"
#include "rtf/rtf.h"

#include <QElapsedTimer>
#include <QTextDocument>
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
        BadCase{"nul_bytes", QByteArray("{\\rtf1 a\0b}", 10), "ab"}),
    [](const auto& info) { return std::string(info.param.name); });

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
