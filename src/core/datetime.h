#pragma once
// Dates as stored in notebooks: a double day count since 1899-12-30 with the
// time of day as the fraction, in local time.
#include <QDateTime>

namespace vlr {

using TDateTime = double;

TDateTime toTDateTime(const QDateTime& dt);
QDateTime fromTDateTime(TDateTime value);
TDateTime nowTDateTime();
// ISO 8601 local time with milliseconds, as scripts read it.
QString isoText(TDateTime value);

} // namespace vlr
