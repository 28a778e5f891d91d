#include "core/password_reminder.h"

#include "core/messages.h"

#include <algorithm>

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

namespace {

// Characters the text takes in the stored form.
qsizetype storedLength(QStringView text) {
    return text.size() + text.count(QLatin1Char('\n'));
}

} // namespace

std::optional<ReminderEdit> limitReminderEdit(const QString& before, const QString& after) {
    if (storedLength(after) <= kReminderMaxLength)
        return std::nullopt;
    // The inserted span: what lies between the common start and the common end.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const QStringView inserted = QStringView(after).mid(head, after.size() - head - tail);
    qsizetype room = kReminderMaxLength - (storedLength(after) - storedLength(inserted));
    qsizetype keep = 0;
    while (keep < inserted.size()) {
        const qsizetype need = inserted[keep] == QLatin1Char('\n') ? 2 : 1;
        if (need > room)
            break;
        room -= need;
        ++keep;
    }
    if (keep > 0 && inserted[keep - 1].isHighSurrogate())
        --keep;
    QString text = after.left(head + keep) + after.right(tail);
    if (storedLength(text) > kReminderMaxLength) // the text was too long before the edit
        text = reminderToShown(reminderToStored(text));
    return ReminderEdit{text, int(std::min(head + keep, text.size()))};
}

} // namespace vlr
