#include "core/number_text.h"

namespace vlr {

QString groupDigits(qint64 value, const QString& separator) {
    // The magnitude as unsigned, so the most negative value has one too.
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    const QString digits = QString::number(magnitude);
    QString out;
    out.reserve(digits.size() + (digits.size() / 3) * separator.size() + 1);
    if (value < 0)
        out += u'-';
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

QString groupedNumber(qint64 value) {
    return groupDigits(value, kGroupSeparator);
}

} // namespace vlr
