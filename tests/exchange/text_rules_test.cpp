// The pure rules of export and import: macros, line wrapping, per-note file
// names, plain text made RTF, accepted files.
#include "exchange/export_macros.h"
#include "exchange/file_names.h"
#include "exchange/import_files.h"
#include "exchange/line_wrap.h"
#include "exchange/plain_to_rtf.h"
#include "exchange/rtf_unicode.h"
#include "rtf/rtf.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace vlr;

namespace {

TExportMacroValues sampleValues() {
    TExportMacroValues v;
    v.notebookTitle = QStringLiteral("Книга");
    v.notebookPath = QStringLiteral("Книга - Папка - Запись");
    v.exportPath = QStringLiteral("Книга - Запись");
    v.noteTitle = QStringLiteral("Запись");
    v.author = QStringLiteral("Автор");
    v.company = QStringLiteral("Фирма");
    v.created = 45000.5; // 15.03.2023 12:00
    v.saved = 45001.25;  // 16.03.2023 06:00
    v.level = 2;
    return v;
}

DateFormatLocale fixedLocale() {
    DateFormatLocale l;
    l.shortDateFormat = QStringLiteral("dd/mm/yyyy");
    l.longTimeFormat = QStringLiteral("hh:nn:ss");
    return l;
}

} // namespace

TEST(ExportMacros, ReplacedInOrderAndScannedOnlyByLaterMacros) {
    const TExportMacroValues v = sampleValues();
    struct Case {
        const char* text;
        QString expected;
    } cases[] = {
        {"$NB|$NR|$NP|$N", QStringLiteral("Книга|Книга - Папка - Запись|Книга - Запись|Запись")},
        {"$A, $C, $L", QStringLiteral("Автор, Фирма, 2")},
        {"$DC $TC / $DS $TS", QStringLiteral("15.03.2023 12:00:00 / 16.03.2023 06:00:00")},
        {"Created in $DC by $A", QStringLiteral("Created in 15.03.2023 by Автор")},
        {"$n $nb $X", QStringLiteral("$n $nb $X")}, // case matters
        {"$$NN", QStringLiteral("$ЗаписьN")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandExportMacros(QString::fromUtf8(c.text), v, fixedLocale()), c.expected) << c.text;

    // A title brought in by $NB is not scanned for $NB again, but for $N and $A, which follow
    // (so the "$N" of an inserted "$NB" goes too).
    TExportMacroValues w = v;
    w.notebookTitle = QStringLiteral("[$NB $N $A]");
    EXPECT_EQ(ExpandExportMacros(QStringLiteral("$NB"), w, fixedLocale()),
              QStringLiteral("[ЗаписьB Запись Автор]"));
    // A note title brought in by $N is not scanned for $NB, which came before.
    w = v;
    w.noteTitle = QStringLiteral("$NB $C");
    EXPECT_EQ(ExpandExportMacros(QStringLiteral("$N"), w, fixedLocale()), QStringLiteral("$NB Фирма"));
}

TEST(LineWrap, BreaksAtBreakCharactersOutsideQuotes) {
    struct Case {
        const char* text;
        int width;
        const char* expected;
    } cases[] = {
        {"short", 10, "short\r\n"},
        {"", 10, ""},
        {"aaa bbb ccc", 7, "aaa \r\nbbb ccc\r\n"},
        {"aa bb,cc dd", 5, "aa \r\nbb,\r\ncc dd\r\n"},                 // the last break within the width
        {"abcdefghij,k", 4, "abcdefghij,\r\nk\r\n"},                   // none within: the first one past it
        {"nobreakshere", 4, "nobreakshere\r\n"},                       // nothing to break at
        {"say \"a b c d\" end", 6, "say \r\n\"a b c d\"\r\n end\r\n"}, // quoted text stays whole
        {"it's a b c d e", 4, "it's a b c d e\r\n"},                   // an open quote runs to the line's end
        {"x;y!z?w", 2, "x;\r\ny!\r\nz?\r\nw\r\n"},
        {"one\r\ntwo\nthree\rfour", 80, "one\r\ntwo\r\nthree\r\nfour\r\n"},
        {"line\r\n\r\nnext\r\n", 80, "line\r\n\r\nnext\r\n"},
        {"ends with space ", 4, "ends \r\nwith \r\nspace \r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrapLines(QString::fromUtf8(c.text), c.width), QString::fromUtf8(c.expected))
            << c.text << " / " << c.width;
    for (const QChar ch : kLineBreakChars) {
        if (ch != u'"' && ch != u'\'') {
            EXPECT_EQ(WrapLines(QStringLiteral("ab") + ch + QStringLiteral("cd"), 2),
                      QStringLiteral("ab") + ch + QStringLiteral("\r\ncd\r\n"))
                << QString(ch).toStdString();
        }
    }
}

TEST(PerNoteFileNames, ForbiddenCharactersDuplicatesAndDots) {
    struct Clean {
        const char* title;
        bool replace;
        const char* expected;
    } cleans[] = {
        {"a/b", false, "ab"},
        {"a/b", true, "a_b"},
        {"x\"*/<>?\\|y", false, "xy"},
        {"x\"*/<>?\\|y", true, "x________y"},
        {"..", false, ".."},
        {"tab\there", true, "tab_here"},
        {"Заметка: план", true, "Заметка: план"},
    };
    for (const Clean& c : cleans)
        EXPECT_EQ(CleanFileName(QString::fromUtf8(c.title), c.replace), QString::fromUtf8(c.expected))
            << c.title;

    EXPECT_EQ(WithoutTrailingDots(QStringLiteral("Итоги...")), QStringLiteral("Итоги"));
    EXPECT_EQ(WithoutTrailingDots(QStringLiteral("..")), QString());
    EXPECT_EQ(WithoutTrailingDots(QStringLiteral("a.b")), QStringLiteral("a.b"));

    QSet<QString> taken{QStringLiteral("/d/ab.rtf"), QStringLiteral("/d/ab 2.rtf"),
                        QStringLiteral("/d/c.txt")};
    const auto exists = [&](const QString& p) { return taken.contains(p); };
    EXPECT_EQ(FreeFileName(QStringLiteral("/d"), QStringLiteral("ab"), QStringLiteral("rtf"), true, exists),
              QStringLiteral("ab 3"));
    EXPECT_EQ(FreeFileName(QStringLiteral("/d"), QStringLiteral("ab"), QStringLiteral("rtf"), false, exists),
              QStringLiteral("ab"));
    EXPECT_EQ(FreeFileName(QStringLiteral("/d"), QStringLiteral("c"), QStringLiteral("rtf"), true, exists),
              QStringLiteral("c"));
}

TEST(PlainTextToRtf, BytesBecomeRtf) {
    const QByteArray head =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil Courier New;}}\\viewkind4\\fs18\r\n";
    const QByteArray tail = "\r\n}\r\n";
    struct Case {
        QByteArray text;
        QByteArray body;
    } cases[] = {
        {"one\r\ntwo", "one\\par\r\ntwo"},   // CR LF: one paragraph per line
        {"lone\rcr", "lonecr"},              // a lone CR is lost
        {QByteArray("caf\xe9"), "caf\\'e9"}, // byte 233
        {"a\tb", "a\\tab b"},
        {"\\{x}", "\\\\\\{x\\}"},
        {QByteArray("bell\x07!", 6), "bell!"},
        {QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2"), "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2"}, // Windows-1251 "Привет"
        {QString::fromUtf8("Привет").toUtf8(), "\\u1055?\\u1088?\\u1080?\\u1074?\\u1077?\\u1090?"},
        {QByteArray("\xEF\xBB\xBFok"), "ok"}, // UTF-8 marked: the mark goes
        {QString::fromUtf8("😀").toUtf8(), "\\u-10179?\\u-8704?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlainTextToRtf(c.text, QStringLiteral("Courier New"), 9), head + c.body + tail)
            << c.text.toHex().constData();
}

TEST(PlainTextToRtf, RussianUtf8ReadsBackAsItsText) {
    const QString text = QStringLiteral("Съешь же ещё этих мягких французских булок\nВторая строка");
    const QByteArray rtf = PlainTextToRtf(text.toUtf8(), QStringLiteral("Шрифт"), 10);
    EXPECT_EQ(rtf::rtfToPlainText(rtf), text);
    const QByteArray ansi =
        PlainTextToRtf(QByteArray("\xd1\xfa\xe5\xf8\xfc"), QStringLiteral("Courier New"), 10);
    EXPECT_EQ(rtf::rtfToPlainText(ansi).trimmed(), QStringLiteral("Съешь"));
}

TEST(ImportFiles, AcceptedExtensions) {
    const QString accepted = AcceptedExtensions({});
    EXPECT_EQ(accepted, QStringLiteral("txt rtf"));
    struct Case {
        const char* name;
        bool accepted;
    } cases[] = {
        {"/a/note.txt", true},   {"/a/NOTE.RTF", true}, {"/a/noext", false},
        {"/a/trailing.", false}, {"/a/x.doc", false},   {"/a/.txt", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsAcceptedFile(QString::fromUtf8(c.name), accepted), c.accepted) << c.name;
}

TEST(RtfUnicode, TextEscapesGainTheirCharacters) {
    struct Case {
        QByteArray in, out;
    } cases[] = {
        {"{\\rtf1 \\'cf\\'e8}", "{\\rtf1 \\u1055\\'cf\\u1080\\'e8}"},
        {"{\\rtf1{\\fonttbl{\\f0 \\'c0rial;}}x}", "{\\rtf1{\\fonttbl{\\f0 \\'c0rial;}}x}"},
        {"{\\rtf1 \\u1055\\'cf}", "{\\rtf1 \\u1055\\'cf}"},               // already there
        {"{\\rtf1 \\\\'cf}", "{\\rtf1 \\\\'cf}"},                         // an escaped backslash
        {"{\\rtf1 {\\*\\x \\'cf}\\'41}", "{\\rtf1 {\\*\\x \\'cf}\\'41}"}, // ignorable; ASCII stays
        {"{\\rtf1\\b1 \\'e9}", "{\\rtf1\\b1 \\u1081\\'e9}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithUnicodeEscapes(c.in), c.out) << c.in.constData();
}
