#include "core/password_reminder.h"

#include "core/messages.h"

namespace vlr {

QString reminderToStored(const QString& text) {
    QString stored = withLineBreaks(text);
    stored.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (stored.size() > kReminderMaxLength) {
        stored.truncate(kReminderMaxLength);
        if (stored.endsWith(QLatin1Char('\r')) || stored.back().isHighSurrogate())
            stored.chop(1);
    }
    return stored;
}

QString reminderToShown(const QString& stored) {
    return withLineBreaks(stored);
}

} // namespace vlr
