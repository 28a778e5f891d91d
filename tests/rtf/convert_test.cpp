// The extension library's conversions: plain text in its two modes, HTML.
#include "rtf/convert.h"
#include "rtf/font_kinds.h"
#include "rtf/html_writer.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace vlr::rtf;

TEST(ConvertData2, ModesDifferOnlyInLineEndsTablesAndObjects) {
    const QByteArray rtf = "{\\rtf1 a\\tab b\\line c\\par{\\pict\\wmetafile8 00}d\\par"
                           "\\trowd\\cellx1\\cellx2\\intbl x\\cell y\\cell\\row\\pard e}";
    EXPECT_EQ(convertData2(rtf, 0), u"a\tb\nc\n\uFFFCd\nx\ny\ne"_qs);
    EXPECT_EQ(convertData2(rtf, 1), u"a\tb\r\nc\r\nd\r\nx\ty\r\ne"_qs);
    // Text files keep the numbers and bullets the editor draws.
    const QByteArray lists =
        "{\\rtf1{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart3{\\pntxta .}}a\\par"
        "{\\pntext 2.\\tab}b\\par\\pard{\\*\\pn\\pnlvlblt}c\\par\\pard d}";
    EXPECT_EQ(convertData2(lists, 0), "a\nb\nc\nd");
    EXPECT_EQ(convertData2(lists, 1), u"3.\ta\r\n4.\tb\r\n\u2022\tc\r\nd"_qs);
    // Plain-text bodies pass through, with their line ends made right for the mode.
    EXPECT_EQ(convertData2("one\r\ntwo", 0), "one\ntwo");
    EXPECT_EQ(convertData2("one\r\ntwo", 1), "one\r\ntwo");
}

TEST(ConvertData, EscapesEveryCharacterAndDisarmsScriptLinks) {
    const QByteArray rtf =
        "{\\rtf1 <script>alert(1)</script> & \"q\" "
        "{\\field{\\*\\fldinst HYPERLINK \"javascript:alert(2)\"}{\\fldrslt bad}} "
        "{\\field{\\*\\fldinst HYPERLINK \" JaVa\\tab script:x\"}{\\fldrslt bad2}} "
        "{\\field{\\*\\fldinst HYPERLINK \"http://a.b/?x=1&y=\\\\\"2\\\\\"\"}{\\fldrslt good}}}";
    ConvertDataOptions o;
    o.title = "<T&>";
    o.generator = "<META name=GENERATOR content=\"Vellinor 1.5.0\">\r\n";
    o.fontName = "Verdana";
    o.fontSize = 10;
    const QString html = QString::fromUtf8(convertData(rtf, o));
    EXPECT_FALSE(html.contains("<script>"));
    EXPECT_TRUE(html.contains("&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;q&quot;"));
    EXPECT_FALSE(html.contains("javascript", Qt::CaseInsensitive) && html.contains("href=\"javascript"));
    EXPECT_FALSE(html.contains("href=\" JaVa"));
    EXPECT_TRUE(html.contains("bad</SPAN>") || html.contains(">bad<"));
    EXPECT_TRUE(html.contains("<A href=\"http://a.b/?x=1&amp;y=&quot;2&quot;\">")) << html.toStdString();
    EXPECT_TRUE(html.contains("<TITLE>&lt;T&amp;&gt;</TITLE>"));
    EXPECT_TRUE(html.contains(o.generator));
    EXPECT_TRUE(html.contains("font-family:\"Verdana\", sans-serif;font-size:10pt;")) << html.toStdString();
}

TEST(ConvertData, EveryFontFamilyFallsBackToItsKind) {
    // A face the browser lacks must not turn into its default serif face.
    struct Case {
        const char* family;
        FontKind kind;
    } cases[] = {
        {"Sans Serif", FontKind::SansSerif},      {"MS Shell Dlg", FontKind::SansSerif},
        {"Arial", FontKind::SansSerif},           {"DejaVu Sans", FontKind::SansSerif},
        {"Verdana", FontKind::SansSerif},         {"Times New Roman", FontKind::Serif},
        {"DejaVu Serif", FontKind::Serif},        {"Georgia", FontKind::Serif},
        {"Courier New", FontKind::Monospace},     {"DejaVu Sans Mono", FontKind::Monospace},
        {"Liberation Mono", FontKind::Monospace}, {"Lucida Console", FontKind::Monospace},
        {"Monospace", FontKind::Monospace},       {"", FontKind::SansSerif},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fontKindOf(QString::fromUtf8(c.family)), c.kind) << c.family;

    // Every family the page names, in the body's style and in runs, has its generic fallback.
    const QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0 Times New Roman;}{\\f1 Courier New;}{\\f2 MS Shell Dlg;}}"
                           "\\f0 a\\f1 b\\f2 c}";
    ConvertDataOptions o;
    o.fontName = "Sans Serif";
    const QString html = QString::fromUtf8(convertData(rtf, o));
    static const QRegularExpression family(u"font-family:([^;]*);"_qs);
    static const QRegularExpression fallback(u", (serif|sans-serif|monospace)$"_qs);
    int count = 0;
    // Style attributes hold the quotes as &quot;.
    for (const QRegularExpressionMatch& m :
         family.globalMatch(QString(html).replace(u"&quot;"_qs, u"\""_qs))) {
        ++count;
        EXPECT_TRUE(fallback.match(m.captured(1)).hasMatch()) << m.captured(1).toStdString();
    }
    EXPECT_EQ(count, 4) << html.toStdString();
    for (const char* expected :
         {"BODY {font-family:\"Sans Serif\", sans-serif;", "font-family:&quot;Times New Roman&quot;, serif;",
          "font-family:&quot;Courier New&quot;, monospace;",
          "font-family:&quot;MS Shell Dlg&quot;, sans-serif;"})
        EXPECT_TRUE(html.contains(QString::fromUtf8(expected))) << expected << "\n" << html.toStdString();

    // A name cannot end the value or the style sheet early.
    o.fontName = "Evil\"; } BODY { color: red";
    const QString evil = QString::fromUtf8(convertData(rtf, o));
    EXPECT_TRUE(evil.contains(u"BODY {font-family:\"Evil  BODY  color: red\", sans-serif;"_qs))
        << evil.toStdString();
}

TEST(ConvertData, PageTitleIsNeverEmpty) {
    struct Case {
        const char* title;
        const char* fileName;
        const char* expected;
    } cases[] = {
        {"Книга <1> & \"2\"", "x.htm", "<TITLE>Книга &lt;1&gt; &amp; &quot;2&quot;</TITLE>"},
        {"  ", "Заметки о поездке.htm", "<TITLE>Заметки о поездке</TITLE>"},
        {"", "a&b.htm", "<TITLE>a&amp;b</TITLE>"},
    };
    for (const Case& c : cases) {
        ConvertDataOptions o;
        o.title = QString::fromUtf8(c.title);
        o.fileName = QString::fromUtf8(c.fileName);
        const QString html = QString::fromUtf8(convertData("{\\rtf1 x}", o));
        EXPECT_TRUE(html.contains(QString::fromUtf8(c.expected))) << c.expected << "\n" << html.toStdString();
    }
}

TEST(ConvertData, LinkSchemes) {
    struct Case {
        const char* target;
        bool live;
    } cases[] = {{"http://x", true},        {"mailto:a@b", true},        {"note://./ABC", true},
                 {"file://C:/a.txt", true}, {"docs/a:b.htm", true},      {"javascript:x", false},
                 {"vbscript:x", false},     {"data:text/html,x", false}, {"java\nscript:x", false}};
    for (const Case& c : cases)
        EXPECT_EQ(safeLinkTarget(c.target), c.live) << c.target;
}

TEST(ConvertData, PicturesTabsAndBackground) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray png =
        QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200000001000000010802000000907753de000000"
                            "0c4944415408d763f8cfc000000301010018dd8db00000000049454e44ae426082");
    const QByteArray rtf = "{\\rtf1 a\\tab b{\\pict\\pngblip\\picwgoal150\\pichgoal150 " + png.toHex() + "}}";
    ConvertDataOptions o;
    o.folder = dir.path();
    o.fileName = "note.htm";
    o.pictures = true;
    o.tabsAsNbsp = true;
    o.useBackground = true;
    o.backgroundColor = 0x00336699; // 0x00BBGGRR
    const QString html = QString::fromUtf8(convertData(rtf, o));
    EXPECT_TRUE(html.contains("a&nbsp;&nbsp;"));
    EXPECT_TRUE(html.contains("<IMG src=\"note_1.png\" width=10 height=10")) << html.toStdString();
    QFile file(dir.filePath("note_1.png"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), png);
    EXPECT_TRUE(html.contains("bgcolor=\"#996633\""));
    // Without the flags: no files, tabs as they are, no colour.
    QTemporaryDir other;
    o.folder = other.path();
    o.pictures = o.tabsAsNbsp = o.useBackground = false;
    const QString plain = QString::fromUtf8(convertData(rtf, o));
    EXPECT_FALSE(plain.contains("<IMG"));
    EXPECT_FALSE(plain.contains("bgcolor"));
    EXPECT_TRUE(QDir(other.path()).isEmpty());
}

} // namespace
