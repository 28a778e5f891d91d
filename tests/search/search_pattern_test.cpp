// The pattern a search text becomes, the remembered texts, the dialog's
// settings and the first-match text.
#include "config/settingsfile.h"
#include "libs/extlib.h"
#include "search/note_matcher.h"
#include "search/search_pattern.h"
#include "search/search_settings.h"
#include "support/test_paths.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vlr;

namespace {

struct PatternCase {
    const char* what;
    QString text;
    TMatchMode mode;
    bool words, caseSensitive, regExp;
    QString pattern, modifiers;
    int wordCount;
};

class SearchPatternTest : public ::testing::Test {
protected:
    void SetUp() override { TExtLib::setLibraryFolder(test::binDir()); }
};

} // namespace

TEST_F(SearchPatternTest, BuildsThePatternTheOptionsAskFor) {
    using M = TMatchMode;
    const QString ci = QStringLiteral("irsm"), cs = QStringLiteral("-irsm");
    const PatternCase cases[] = {
        {"metacharacters are quoted", "a.b*(c)", M::ExactPhrase, false, false, false, "a\\.b\\*\\(c\\)", ci,
         -1},
        {"case-sensitive puts - in front", "Foo bar", M::ExactPhrase, false, true, false, "Foo bar", cs, -1},
        {"whole phrase of whole words", "foo bar", M::ExactPhrase, true, false, false, "\\bfoo\\b \\bbar\\b",
         ci, -1},
        {"any word", "foo bar", M::AnyWord, false, false, false, "foo|bar", ci, -1},
        // Replacing each separator of ", " and of doubled blanks would leave
        // an empty alternative that matches every note.
        {"any word, comma and blank are one separator", "foo, bar", M::AnyWord, false, false, false,
         "foo|bar", ci, -1},
        {"any word, blanks at the ends and doubled", " foo  bar ", M::AnyWord, true, false, false,
         "\\bfoo\\b|\\bbar\\b", ci, -1},
        {"all words", "foo bar", M::AllWords, false, false, false, "(foo)|(bar)", ci, 2},
        {"all whole words", "кот,пёс", M::AllWords, true, false, false, "(\\bкот\\b)|(\\bпёс\\b)", ci, 2},
        // A repeated group never takes part in a match: the count could not be reached.
        {"all words, a repeated word counts once", "foo bar FOO", M::AllWords, false, false, false,
         "(foo)|(bar)", ci, 2},
        {"all words, case-sensitive keeps both cases", "foo FOO", M::AllWords, false, true, false,
         "(foo)|(FOO)", cs, 2},
        {"a text of separators only is a phrase", " , ", M::AllWords, false, false, false, " , ", ci, -1},
        {"regular expression as typed, case ignored", "a(b", M::AllWords, true, true, true, "a(b", ci, -1},
    };
    for (const PatternCase& c : cases) {
        TSearchOptions o;
        o.text = c.text;
        o.matchMode = c.mode;
        o.matchWords = c.words;
        o.caseSensitive = c.caseSensitive;
        o.regExp = c.regExp;
        const TSearchPattern p = BuildSearchPattern(TExtLib::instance(), o);
        EXPECT_EQ(p.pattern, c.pattern) << c.what;
        EXPECT_EQ(p.modifiers, c.modifiers) << c.what;
        EXPECT_EQ(p.wordCount, c.wordCount) << c.what;
    }
}

TEST_F(SearchPatternTest, AllWordsPatternStaysWithinItsLimitByWholeWords) {
    TSearchOptions o;
    o.matchMode = TMatchMode::AllWords;
    QStringList words;
    for (int i = 0; i < 60; ++i)
        words << QStringLiteral("слово%1").arg(i, 2, 10, QLatin1Char('0'));
    o.text = words.join(u' ');
    TExtLib& ext = TExtLib::instance();
    const TSearchPattern p = BuildSearchPattern(ext, o);
    EXPECT_LE(p.pattern.size(), kAllWordsPatternLimit);
    EXPECT_GT(p.pattern.size(), kAllWordsPatternLimit - 12) << "as many words as fit";
    EXPECT_EQ(p.wordCount, p.pattern.count(QStringLiteral(")|(")) + 1);
    EXPECT_TRUE(p.pattern.endsWith(QStringLiteral("%1)").arg(words[p.wordCount - 1])));
    EXPECT_TRUE(ext.RE_Init(p.pattern, p.modifiers)) << "a cut never breaks a group";
    ext.RE_Done();
}

TEST(RememberedTexts, NewestFirstAtMostTwentyOnceInAnyCase) {
    QStringList items;
    EXPECT_TRUE(RememberSearchText(items, QStringLiteral("Foo")));
    EXPECT_FALSE(RememberSearchText(items, QStringLiteral("foo")));
    EXPECT_TRUE(RememberSearchText(items, QStringLiteral("ФОО")));
    EXPECT_FALSE(RememberSearchText(items, QStringLiteral("фоо")));
    EXPECT_EQ(items, (QStringList{QStringLiteral("ФОО"), QStringLiteral("Foo")}));
    EXPECT_FALSE(RememberSearchText(items, QString()));
    items.clear();
    for (int i = 1; i <= 21; ++i)
        RememberSearchText(items, QString::number(i));
    ASSERT_EQ(items.size(), kRememberedTexts);
    EXPECT_EQ(items.first(), QStringLiteral("21"));
    EXPECT_EQ(items.last(), QStringLiteral("2")) << "the oldest went";
}

TEST(GlobalFindSettings, ReadDefaultsWriteEveryKeyAndKeepTheListReadable) {
    QTemporaryDir dir;
    TSettingsFile file(dir.filePath(QStringLiteral("vellinor.ini")));
    TGlobalFindSettings s = ReadGlobalFindSettings(file, QSize(500, 400));
    EXPECT_EQ(s.dialogSize, QSize(500, 400)) << "missing size: the dialog's own";
    EXPECT_TRUE(s.items.isEmpty());
    EXPECT_EQ(s.whereToFind, TSearchScope::NoteAndDescendants);
    EXPECT_FALSE(s.useRegExp || s.caseSensitive || s.matchWords);
    EXPECT_EQ(s.matchMode, TMatchMode::ExactPhrase);

    s.dialogSize = QSize(700, 450);
    s.items = {QStringLiteral("два слова"), QStringLiteral("a,b"), QStringLiteral("say \"hi\""),
               QStringLiteral("x")};
    s.whereToFind = TSearchScope::AllNotebooks;
    s.useRegExp = s.matchWords = true;
    s.matchMode = TMatchMode::AllWords;
    ASSERT_TRUE(WriteGlobalFindSettings(file, s));
    const QString section = kGlobalFindSection;
    EXPECT_EQ(file.readString(section, QStringLiteral("Items")),
              QStringLiteral("\"два слова\",\"a,b\",\"say \"\"hi\"\"\",x,"));
    EXPECT_EQ(file.readInteger(section, QStringLiteral("ItemsCount"), -1), 4);
    EXPECT_EQ(file.readInteger(section, QStringLiteral("DialogWidth"), -1), 700);
    EXPECT_EQ(file.readInteger(section, QStringLiteral("WhereToFind"), -1), 2);
    EXPECT_EQ(file.readString(section, QStringLiteral("CaseSensitive")), QStringLiteral("0"));
    const TGlobalFindSettings back = ReadGlobalFindSettings(file, QSize(1, 1));
    EXPECT_EQ(back.dialogSize, s.dialogSize);
    EXPECT_EQ(back.items, s.items);
    EXPECT_EQ(back.whereToFind, s.whereToFind);
    EXPECT_TRUE(back.useRegExp && back.matchWords && !back.caseSensitive);
    EXPECT_EQ(back.matchMode, s.matchMode);

    // Choices out of range read as the first; a list too long for one value
    // loses its oldest texts rather than coming back with the last one cut.
    file.writeString(section, QStringLiteral("WhereToFind"), QStringLiteral("7"));
    file.writeString(section, QStringLiteral("MatchMode"), QStringLiteral("-1"));
    EXPECT_EQ(ReadGlobalFindSettings(file, {}).whereToFind, TSearchScope::NoteAndDescendants);
    EXPECT_EQ(ReadGlobalFindSettings(file, {}).matchMode, TMatchMode::ExactPhrase);
    s.items.clear();
    for (int i = 0; i < kRememberedTexts; ++i)
        s.items << QString(150, QChar(u'a' + i));
    ASSERT_TRUE(WriteGlobalFindSettings(file, s));
    const QStringList kept = ReadGlobalFindSettings(file, {}).items;
    ASSERT_FALSE(kept.isEmpty());
    EXPECT_EQ(kept, s.items.mid(0, kept.size()));
    EXPECT_EQ(file.readInteger(section, QStringLiteral("ItemsCount"), -1), kept.size());

    // A file that cannot be written is reported, not thrown.
    QFile plain(dir.filePath(QStringLiteral("a-file")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    TSettingsFile nowhere(dir.filePath(QStringLiteral("a-file/x.ini")));
    EXPECT_FALSE(WriteGlobalFindSettings(nowhere, s));
}

TEST(FirstMatchText, FiftyCharactersFromTheMatchControlsAsBlanks) {
    const QString tail = QStringLiteral("0123456789");
    EXPECT_EQ(FirstMatchText(QString(100, u'x') + tail, 101), tail) << "10 characters before the end show 10";
    EXPECT_EQ(FirstMatchText(QString(200, u'y'), 5).size(), kFirstMatchLength);
    EXPECT_EQ(FirstMatchText(QStringLiteral("a\tb\nc\x01"
                                            "d"),
                             1),
              QStringLiteral("a b c d"));
    const QString emoji = QString(49, u'z') + QString::fromUtf8("😀");
    EXPECT_EQ(FirstMatchText(emoji, 1), QString(49, u'z')) << "no half of a surrogate pair";
}
