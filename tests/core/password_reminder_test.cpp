// The reminder's stored form: Windows line breaks, at most 150 characters.
#include "core/password_reminder.h"

#include <gtest/gtest.h>

using namespace vlr;

TEST(PasswordReminder, StoredWithWindowsLineBreaksAndCutTo150) {
    const QString x149(149, QLatin1Char('x'));
    const struct {
        const char* name;
        QString text;
        QString stored;
    } cases[] = {
        {"short", QStringLiteral("кот"), QStringLiteral("кот")},
        {"160 characters", QString(160, QLatin1Char('r')), QString(150, QLatin1Char('r'))},
        {"exactly 150", QString(150, QLatin1Char('r')), QString(150, QLatin1Char('r'))},
        {"newline", QStringLiteral("a\nb"), QStringLiteral("a\r\nb")},
        {"lone CR", QStringLiteral("a\rb"), QStringLiteral("a\r\nb")},
        {"already stored", QStringLiteral("a\r\nb"), QStringLiteral("a\r\nb")},
        {"a line break counts twice", QString(148, QLatin1Char('y')) + QStringLiteral("\nzz"),
         QString(148, QLatin1Char('y')) + QStringLiteral("\r\n")},
        {"no half line break at the end", x149 + QStringLiteral("\nzz"), x149},
        {"no half surrogate pair at the end", x149 + QStringLiteral("\U0001F600"), x149},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString stored = reminderToStored(c.text);
        EXPECT_EQ(stored, c.stored);
        EXPECT_LE(stored.size(), kReminderMaxLength);
    }
    EXPECT_EQ(reminderToShown(QStringLiteral("a\r\nb\r\n")), QStringLiteral("a\nb\n"));
}
