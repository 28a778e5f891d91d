#pragma once
// The program's date-time format language (date and time inserts, the date
// separator, the clock): d dd ddd dddd ddddd dddddd, m mm mmm mmmm (m and mm
// right after an hour are minutes), yy yyyy, h hh, n nn, s ss, z zzz, t tt,
// am/pm a/p ampm, c; "/" and ":" stand for the locale's separators and text in
// single or double quotes is copied. Letters are taken in either case. Month
// and day names are Russian, as the rest of the interface.
#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace vlr {

// The locale facts the language refers to; the four formats are themselves
// written in the language.
struct DateFormatLocale {
    QChar dateSeparator = u'.';
    QChar timeSeparator = u':';
    QString shortDateFormat = QStringLiteral("dd/mm/yyyy");
    QString longDateFormat = QStringLiteral("d mmmm yyyy");
    QString shortTimeFormat = QStringLiteral("h:nn");
    QString longTimeFormat = QStringLiteral("h:nn:ss");
    QString amText = QStringLiteral("AM");
    QString pmText = QStringLiteral("PM");

    static DateFormatLocale fromLocale(const QLocale& locale);
    static DateFormatLocale system() { return fromLocale(QLocale::system()); }
};

// An empty format means "c".
QString formatDateTime(const QString& format, const QDateTime& value, const DateFormatLocale& locale);
QString formatDateTime(const QString& format, const QDateTime& value);

// Rewrites a QLocale date or time pattern in this language, with the given
// separators standing for "/" and ":". Time zones are dropped.
QString fromQtDateFormat(const QString& qtFormat, QChar dateSeparator, QChar timeSeparator);

} // namespace vlr
