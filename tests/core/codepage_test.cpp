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
