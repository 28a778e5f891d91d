#include "core/codepage.h"

#include <gtest/gtest.h>

using namespace vlr;

TEST(CodePage, AnsiRoundTripsCyrillicAndMarksWhatItCannotHold) {
    const QString text = QStringLiteral("Привет, ёЁ №1 — «мир»");
    EXPECT_EQ(fromAnsi(toAnsi(text)), text);
    EXPECT_EQ(toAnsi(QStringLiteral("a\u4e2db")), QByteArray("a?b"));
    EXPECT_EQ(toAnsi(QStringLiteral("x\U0001F600y")), QByteArray("x?y"));
    EXPECT_TRUE(fitsAnsi(text));
    EXPECT_FALSE(fitsAnsi(QStringLiteral("\u4e2d")));
}

TEST(CodePage, OemAndOtherPages) {
    EXPECT_EQ(toOem(QStringLiteral("Ж")), QByteArray("\x86"));
    EXPECT_EQ(fromOem(QByteArray("\x86")), QStringLiteral("Ж"));
    EXPECT_EQ(decodeCodePage(1252, QByteArray("\xe9")), QStringLiteral("é"));
    EXPECT_EQ(decodeCodePage(1250, QByteArray("\x9a")), QStringLiteral("š"));
    // Unknown pages fall back to Windows-1251.
    EXPECT_EQ(decodeCodePage(12345, QByteArray("\xc0")), QStringLiteral("А"));
}

TEST(CodePage, LostInAnsiNamesEachCharacterThatWouldBecomeAQuestionMark) {
    struct Case {
        const char* what;
        QString text;
        QStringList lost;
    };
    const Case cases[] = {
        {"Latin sharp s", QStringLiteral("Straße"), {QStringLiteral("ß")}},
        {"Greek, each letter once",
         QStringLiteral("Ελληνικά"),
         {QStringLiteral("Ε"), QStringLiteral("λ"), QStringLiteral("η"), QStringLiteral("ν"),
          QStringLiteral("ι"), QStringLiteral("κ"), QStringLiteral("ά")}},
        {"an emoji stays one character", QStringLiteral("Эмодзи \U0001F600"), {QStringLiteral("\U0001F600")}},
        {"two emoji sharing a high surrogate are two characters",
         QStringLiteral("\U0001F600\U0001F601\U0001F600"),
         {QStringLiteral("\U0001F600"), QStringLiteral("\U0001F601")}},
        {"a lone surrogate", QString(QChar(0xD800)), {QString(QChar(0xD800))}},
        {"pure Cyrillic with ё, Ё, № and guillemets", QStringLiteral("Ёлка ёж №5 «да»"), {}},
        {"ASCII with punctuation", QStringLiteral("Notes, v1.2 (draft)?"), {}},
        {"empty", QString(), {}},
        {"Cyrillic beside lost letters keeps only the lost",
         QStringLiteral("Привет é мир ü"),
         {QStringLiteral("é"), QStringLiteral("ü")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(lostInAnsi(c.text), c.lost);
        EXPECT_EQ(fitsAnsi(c.text), c.lost.isEmpty());
    }
}
