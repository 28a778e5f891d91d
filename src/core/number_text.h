#pragma once
// Numbers as the Russian interface shows them: digits grouped in threes by a
// no-break space ("60 403"), whatever the system's locale groups with.
#include <QString>

namespace vlr {

inline const QString kGroupSeparator = QStringLiteral("\u00A0");

// A whole number with its digits grouped in threes: 1234567 -> "1 234 567".
QString groupDigits(qint64 value, const QString& separator);
// groupDigits with the interface's separator.
QString groupedNumber(qint64 value);

} // namespace vlr
