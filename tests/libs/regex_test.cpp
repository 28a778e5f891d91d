// Regular expressions of the extension library: every pattern and modifier
// set the program uses (global search, text collector, spell checking),
// Cyrillic words, the "r" ranges, 1-based UTF-16 positions, rank, quoting,
// replacing and compile errors.
#include "core/error.h"
#include "library_fixture.h"

#include <QRandomGenerator>
#include <QStringList>

namespace vlr {
namespace {

using test::LibsExtTest;

// The catch patterns of the text collector and the spell checker.
const QString kCollectorMail = QStringLiteral(R"([\w:]+\@(\w|\.)+\.\w+)");
const QString kCollectorUrl = QStringLiteral(R"re((\\\\|news:/|telnet:/|ftp:/|http:/|www\.)(\w|[^]})])+)re");
const QString kSpellMail = QStringLiteral(R"([\w:]+\@\w+\.\w+)");
const QString kSpellLink = QStringLiteral(R"re((\\\\|news:/|telnet:/|ftp:/|http:/|www\.)\S+)re");

struct MatchCase {
    const char* name;
    QString pattern;
    QString modifiers;
    QString text;
    int pos; // 0: no match
    int length;
};

const QString lonelySurrogate = QString(QChar(0xD800)) + QStringLiteral("кот");

// clang-format off
const MatchCase kMatchCases[] = {
    {"collector mail",             kCollectorMail, "irsm", "пишите: ivan@mail.example.ru!", 9, 20},
    {"collector mail, Cyrillic",   kCollectorMail, "irsm", "почта@пример.рф", 1, 15},
    {"collector url",              kCollectorUrl,  "irsm", "(см. http://example.com/a?b=1) и", 6, 24},
    {"collector network path",     kCollectorUrl,  "irsm", R"(путь \\server\share})", 6, 14},
    {"collector url, any case",    kCollectorUrl,  "irsm", "WWW.Site.RU", 1, 11},
    {"spell mail",                 kSpellMail,     "irsm", "mailto:user@host.com", 1, 20},
    {"spell link",                 kSpellLink,     "irsm", "см. ftp://файлы.рф/док end", 5, 18},
    {"search quoted phrase",       R"(кот\. пёс)", "irsm", "Кот. Пёс", 1, 8},
    {"search case-sensitive",      "кот", "-irsm", "Кот кот", 5, 3},
    {"search case-insensitive",    "кот", "irsm", "КОТ", 1, 3},
    {"search whole words",         R"(\bкот\b)", "irsm", "котёнок, кот", 10, 3},
    {"search any of the words",    "кот|пёс", "irsm", "мой пёс", 5, 3},
    {"search all words",           R"((\bкот\b)|(\bпёс\b))", "irsm", "пёс и кот", 1, 3},
    {"word characters in Cyrillic", R"(\w+)", "irsm", "«Ёжик»", 2, 4},
    {"position after a surrogate pair", "кот", "irsm", "😀 кот", 4, 3},
    {"surrogate pairs counted as two", "😀+", "-", "a😀😀b", 2, 4},
    {"lone surrogate in the text", "кот", "irsm", lonelySurrogate, 2, 3},
    {"s: dot takes a line break",  "a.b", "s", "a\nb", 1, 3},
    {"without s",                  "a.b", "", "a\nb", 0, 0},
    {"m: ^ at every line",         "^b", "m", "a\nb", 3, 1},
    {"without m",                  "^b", "", "a\nb", 0, 0},
    {"r: а-я takes ё",             "[а-я]+", "-r", "ёлка", 1, 4},
    {"without r",                  "[а-я]+", "-", "ёлка", 2, 3},
    {"r: А-Я takes Ё",             "[А-Я]", "-r", "Ёж", 1, 1},
    {"r: а-е stops before ё",      "[а-е]", "-r", "ё", 0, 0},
    {"r: д-з spans ё",             "[д-з]", "-r", "ё", 1, 1},
    {"r: negated class",           "[^а-я]", "-r", "ёж!", 3, 1},
    {"r: hex range ends",          R"([\x{430}-\x{44F}])", "-r", "ё", 1, 1},
    {"r: escaped bracket is no class", R"(\[а-я])", "-r", "x[а-я]", 2, 5},
    {"r with i",                   "[а-я]", "ir", "Ё", 1, 1},
    {"dash: case-sensitive despite i", "Ё", "-i", "ё", 0, 0},
};
// clang-format on

TEST_F(LibsExtTest, PatternsMatchWhereExpected) {
    for (const MatchCase& c : kMatchCases) {
        SCOPED_TRACE(c.name);
        int errorPos = -1;
        ASSERT_TRUE(ext().RE_Init(c.pattern, c.modifiers, &errorPos)) << ext().errorString().toStdString();
        int pos = 0, length = 0, rank = 0;
        const bool found = ext().RE_Exec(c.text, pos, length, rank);
        EXPECT_EQ(found, c.pos != 0);
        if (found && c.pos != 0) {
            EXPECT_EQ(pos, c.pos);
            EXPECT_EQ(length, c.length);
        }
        if (c.modifiers == QStringLiteral("irsm")) { // the modifiers RE_CheckText uses
            EXPECT_EQ(ext().RE_CheckText(c.pattern, c.text), c.pos != 0);
        }
    }
}

TEST_F(LibsExtTest, RankCountsWordsFoundOrMatches) {
    // clang-format off
    const struct { const char* pattern; const char* text; int rank; } cases[] = {
        {R"((\bкот\b)|(\bпёс\b))", "пёс и кот", 2},
        {R"((\bкот\b)|(\bпёс\b))", "кот и кот", 1},
        {"(a)|(b)|(c)",           "c a b c",   3},
        {"кот",                   "кот Кот кот", 3},
        {"кот|пёс",               "пёс кот", 2},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(ext().RE_Init(QString::fromUtf8(c.pattern), QStringLiteral("irsm")));
        int pos = 0, length = 0, rank = 0;
        ASSERT_TRUE(ext().RE_Exec(QString::fromUtf8(c.text), pos, length, rank));
        EXPECT_EQ(rank, c.rank);
    }
}

TEST_F(LibsExtTest, BadPatternsReportTheirPosition) {
    // clang-format off
    const struct { const char* pattern; const char* modifiers; int errorPos; } cases[] = {
        {"(abc",    "irsm", 4},
        {"[а-я](",  "irsm", 6}, // the ё put in by "r" does not shift the position
        {"a{2,1}",  "irsm", 5},
        {"abc",     "irsx", 0}, // unknown modifier
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        int errorPos = -1;
        EXPECT_FALSE(ext().RE_Init(QString::fromUtf8(c.pattern), QString::fromUtf8(c.modifiers), &errorPos));
        EXPECT_EQ(errorPos, c.errorPos);
        EXPECT_FALSE(ext().errorString().isEmpty());
        // A failed compile leaves no pattern behind.
        int pos, length, rank;
        EXPECT_FALSE(ext().RE_Exec(QStringLiteral("abc"), pos, length, rank));
    }
}

TEST_F(LibsExtTest, ArbitraryPatternsCompileOrFailWithinThePattern) {
    // Fragments that stress the class scanner behind "r": escapes, ranges,
    // POSIX sets, quoting and unbalanced brackets.
    const QStringList pieces = {"[",         "]", "^", "-",   "\\",     "\\x", "{",   "}",
                                "4",         "а", "я", "Е",   "Ж",      "ё",   "\\Q", "\\E",
                                "[:alpha:]", "(", ")", "\\w", "x{430}", "😀",   ":"};
    QRandomGenerator gen(2024);
    for (int round = 0; round < 3000; ++round) {
        QString pattern;
        for (int n = int(gen.bounded(12)); n > 0; --n)
            pattern += pieces[gen.bounded(int(pieces.size()))];
        SCOPED_TRACE(pattern.toStdString());
        int errorPos = -1;
        if (!ext().RE_Init(pattern, QStringLiteral("irsm"), &errorPos)) {
            EXPECT_GE(errorPos, 0);
            EXPECT_LE(errorPos, pattern.size());
        }
    }
}

TEST_F(LibsExtTest, DoneForgetsThePattern) {
    ASSERT_TRUE(ext().RE_Init(QStringLiteral("a"), QStringLiteral("irsm")));
    ext().RE_Done();
    int pos, length, rank;
    EXPECT_FALSE(ext().RE_Exec(QStringLiteral("a"), pos, length, rank));
}

TEST_F(LibsExtTest, QuoteEscapesMetacharactersOnly) {
    const struct {
        QString text;
        QString quoted;
    } cases[] = {
        {"a.b*c?", R"(a\.b\*c\?)"},
        {"(1+2)=[3]", R"(\(1\+2\)=\[3\])"},
        {R"(^$|{}\)", R"(\^\$\|\{\}\\)"},
        {"кот, пёс дом", "кот, пёс дом"}, // spaces and commas stay for the word modes
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QString quoted = ext().RE_Quote(c.text);
        EXPECT_EQ(quoted, c.quoted);
        if (c.text.isEmpty())
            continue;
        ASSERT_TRUE(ext().RE_Init(quoted, QStringLiteral("-irsm")));
        int pos = 0, length = 0, rank = 0;
        ASSERT_TRUE(ext().RE_Exec(QStringLiteral("x") + c.text, pos, length, rank));
        EXPECT_EQ(pos, 2);
        EXPECT_EQ(length, c.text.size());
    }
}

TEST_F(LibsExtTest, ReplaceSubstitutesEveryMatchLiterally) {
    const QString separators = QStringLiteral(R"((\x20|,|,\x20|\x20,))");
    // clang-format off
    const struct { QString pattern; QString text; QString replacement; QString result; } cases[] = {
        {R"(\x20)",  "кот пёс",      R"(\b \b)", R"(кот\b \bпёс)"},  // whole words
        {separators, "кот пёс,мышь", "|",        "кот|пёс|мышь"},    // any of the words
        {separators, "кот пёс,мышь", ")|(",      "кот)|(пёс)|(мышь"}, // all words
        {"o",        "foo",          R"($1\0)",  R"(f$1\0$1\0)"},
        {"Б",        "абв",          "-",        "а-в"},
        {"x",        "",             "y",        ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(ext().RE_Replace(c.pattern, c.text, c.replacement), c.result);
    }
    // Unpaired surrogates between the matches are kept as they were.
    const QString odd = QString(QChar(0xDC00)) + QStringLiteral(" a");
    EXPECT_EQ(ext().RE_Replace(QStringLiteral("a"), odd, QStringLiteral("b")), QString(QChar(0xDC00)) + " b");
    EXPECT_THROW(ext().RE_Replace(QStringLiteral("("), QStringLiteral("x"), QStringLiteral("y")),
                 EVellinorError);
}

TEST_F(LibsExtTest, CheckTextIsFalseForBadPatterns) {
    EXPECT_FALSE(ext().RE_CheckText(QStringLiteral("(["), QStringLiteral("([")));
}

} // namespace
} // namespace vlr
