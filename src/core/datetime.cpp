#include "core/datetime.h"

#include <cmath>

namespace vlr {

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
} // namespace

TDateTime toTDateTime(const QDateTime& dt) {
    const QDateTime local = dt.toLocalTime();
    const double days = static_cast<double>(kEpoch.daysTo(local.date()));
    const double frac = local.time().msecsSinceStartOfDay() / kMsPerDay;
    // Before the epoch the fraction counts away from zero, as the format defines.
    return days >= 0 ? days + frac : days - frac;
}

QDateTime fromTDateTime(TDateTime value) {
    if (!std::isfinite(value) || std::fabs(value) > 2958465.0) // past 9999-12-31
        return {};
    const double whole = std::trunc(value);
    double frac = std::fabs(value - whole);
    qint64 ms = std::llround(frac * kMsPerDay);
    qint64 days = static_cast<qint64>(whole);
    if (ms >= static_cast<qint64>(kMsPerDay)) {
        ms -= static_cast<qint64>(kMsPerDay);
        days += value >= 0 ? 1 : -1;
    }
    return QDateTime(kEpoch.addDays(days), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

TDateTime nowTDateTime() {
    return toTDateTime(QDateTime::currentDateTime());
}

QString isoText(TDateTime value) {
    const QDateTime dt = fromTDateTime(value);
    return dt.isValid() ? dt.toString(Qt::ISODateWithMs) : QString();
}

} // namespace vlr
