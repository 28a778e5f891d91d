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

TEST(PasswordReminder, EditsBeyondTheLimitKeepOnlyWhatFits) {
    const QString full(150, QLatin1Char('a'));
    const QString x140(140, QLatin1Char('x'));
    const struct {
        const char* name;
        QString before;
        QString after;
        QString text;
        int cursor;
    } cases[] = {
        {"typing into a full memo", full, full.left(75) + "b" + full.mid(75), full, 75},
        {"paste at the end cut to the room left", x140, x140 + QString(20, 'p'), x140 + QString(10, 'p'),
         150},
        {"paste in the middle", x140, x140.left(10) + QString(20, 'p') + x140.mid(10),
         x140.left(10) + QString(10, 'p') + x140.mid(10), 20},
        {"a line break needs two", QString(149, 'z'), QString(149, 'z') + "\n", QString(149, 'z'), 149},
        {"replacing a selection", x140, QString(200, 'r'), QString(150, 'r'), 150},
        {"text too long from the start", QString(), QString(160, 'q'), QString(150, 'q'), 150},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto edit = limitReminderEdit(c.before, c.after);
        ASSERT_TRUE(edit.has_value());
        EXPECT_EQ(edit->text, c.text);
        EXPECT_EQ(edit->cursor, c.cursor);
    }
    EXPECT_FALSE(limitReminderEdit(QString(), full).has_value()) << "150 fit";
    EXPECT_FALSE(limitReminderEdit(QString(), QString(74, 'a') + "\n" + QString(74, 'a')).has_value());
}
