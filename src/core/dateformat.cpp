#include "core/dateformat.h"

#include <array>

namespace vlr {

namespace {

// Nominative month names stand alone; after a day number the genitive reads
// right ("10 декабря 2026").
const std::array<const char16_t*, 12> kMonthLong = {u"Январь",   u"Февраль", u"Март",   u"Апрель",
                                                    u"Май",      u"Июнь",    u"Июль",   u"Август",
                                                    u"Сентябрь", u"Октябрь", u"Ноябрь", u"Декабрь"};
const std::array<const char16_t*, 12> kMonthGenitive = {u"января",   u"февраля", u"марта",  u"апреля",
                                                        u"мая",      u"июня",    u"июля",   u"августа",
                                                        u"сентября", u"октября", u"ноября", u"декабря"};
const std::array<const char16_t*, 12> kMonthShort = {u"янв", u"фев", u"мар", u"апр", u"май", u"июн",
                                                     u"июл", u"авг", u"сен", u"окт", u"ноя", u"дек"};
// Indexed by QDate::dayOfWeek() - 1, Monday first.
const std::array<const char16_t*, 7> kDayLong = {u"понедельник", u"вторник", u"среда",      u"четверг",
                                                 u"пятница",     u"суббота", u"воскресенье"};
const std::array<const char16_t*, 7> kDayShort = {u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб", u"Вс"};

// Nested formats (ddddd, t, c…) are expanded one level deep, so a locale
// format that names itself cannot recurse.
constexpr int kMaxNesting = 2;

// An invalid date has month and weekday 0: no name rather than a read
// outside the table.
template <size_t N> QString nameAt(const std::array<const char16_t*, N>& names, int oneBased) {
    return (oneBased >= 1 && oneBased <= int(N)) ? QString::fromUtf16(names[oneBased - 1]) : QString();
}

QChar upper(QChar c) {
    return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 32) : c;
}

bool startsWithNoCase(const QString& s, qsizetype at, QLatin1StringView what) {
    return s.mid(at, what.size()).compare(what, Qt::CaseInsensitive) == 0;
}

QString number(int value, int digits) {
    return QString::number(value).rightJustified(digits, u'0');
}

// True when the format shows the day as a number (d or dd) outside quotes.
bool hasDayNumber(const QString& f) {
    for (qsizetype i = 0; i < f.size();) {
        const QChar c = f[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype close = f.indexOf(c, i + 1);
            i = close < 0 ? f.size() : close + 1;
            continue;
        }
        qsizetype j = i + 1;
        while (j < f.size() && f[j] == c)
            ++j;
        if (upper(c) == u'D' && j - i <= 2)
            return true;
        i = j;
    }
    return false;
}

class Formatter {
public:
    Formatter(const QDateTime& value, const DateFormatLocale& locale)
        : m_date(value.date()), m_time(value.time()), m_locale(locale) {}

    void append(const QString& f) {
        if (m_level >= kMaxNesting)
            return;
        ++m_level;
        const bool genitive = hasDayNumber(f);
        QChar lastToken = u' ';
        qsizetype p = 0;
        while (p < f.size()) {
            const QChar start = f[p++];
            QChar token = upper(start);
            if (token >= u'A' && token <= u'Z') {
                if (token == u'M' && lastToken == u'H')
                    token = u'N';
                lastToken = token;
            }
            auto count = [&] {
                int n = 1;
                while (p < f.size() && f[p] == start) {
                    ++p;
                    ++n;
                }
                return n;
            };
            switch (token.unicode()) {
            case u'Y':
                m_out += count() <= 2 ? number(m_date.year() % 100, 2) : number(m_date.year(), 4);
                break;
            case u'M': {
                const int n = count();
                if (n <= 2)
                    m_out += number(m_date.month(), n);
                else if (n == 3)
                    m_out += nameAt(kMonthShort, m_date.month());
                else
                    m_out += nameAt(genitive ? kMonthGenitive : kMonthLong, m_date.month());
                break;
            }
            case u'D': {
                const int n = count();
                if (n <= 2)
                    m_out += number(m_date.day(), n);
                else if (n == 3)
                    m_out += nameAt(kDayShort, m_date.dayOfWeek());
                else if (n == 4)
                    m_out += nameAt(kDayLong, m_date.dayOfWeek());
                else if (n == 5)
                    append(m_locale.shortDateFormat);
                else
                    append(m_locale.longDateFormat);
                break;
            }
            case u'H': {
                const int n = qMin(count(), 2);
                int hour = m_time.hour();
                if (twelveHourAhead(f, p)) {
                    if (hour == 0)
                        hour = 12;
                    else if (hour > 12)
                        hour -= 12;
                }
                m_out += number(hour, n);
                break;
            }
            case u'N':
                m_out += number(m_time.minute(), qMin(count(), 2));
                break;
            case u'S':
                m_out += number(m_time.second(), qMin(count(), 2));
                break;
            case u'Z':
                m_out += number(m_time.msec(), qMin(count(), 3));
                break;
            case u'T':
                append(count() == 1 ? m_locale.shortTimeFormat : m_locale.longTimeFormat);
                break;
            case u'A':
                appendAmPm(f, p, start);
                break;
            case u'C':
                count();
                append(m_locale.shortDateFormat);
                if (m_time.hour() != 0 || m_time.minute() != 0 || m_time.second() != 0) {
                    m_out += u' ';
                    append(m_locale.longTimeFormat);
                }
                break;
            case u'/':
                if (!m_locale.dateSeparator.isNull())
                    m_out += m_locale.dateSeparator;
                break;
            case u':':
                if (!m_locale.timeSeparator.isNull())
                    m_out += m_locale.timeSeparator;
                break;
            case u'\'':
            case u'"': {
                const qsizetype close = f.indexOf(start, p);
                const qsizetype end = close < 0 ? f.size() : close;
                m_out += QStringView(f).mid(p, end - p);
                p = close < 0 ? end : close + 1;
                break;
            }
            default:
                m_out += start;
            }
        }
        --m_level;
    }

    const QString& result() const { return m_out; }

private:
    // An hour is on the 12-hour clock when the next a-marker before another
    // hour, outside quotes, is am/pm, a/p or ampm.
    static bool twelveHourAhead(const QString& f, qsizetype from) {
        bool quoted = false;
        for (qsizetype i = from; i < f.size(); ++i) {
            const QChar c = f[i];
            if (c == u'\'' || c == u'"') {
                quoted = !quoted;
            } else if (!quoted && upper(c) == u'A') {
                return startsWithNoCase(f, i, QLatin1StringView("am/pm")) ||
                       startsWithNoCase(f, i, QLatin1StringView("a/p")) ||
                       startsWithNoCase(f, i, QLatin1StringView("ampm"));
            } else if (!quoted && upper(c) == u'H') {
                return false;
            }
        }
        return false;
    }

    // p points just past the 'a'; the marker's own letters keep their case.
    void appendAmPm(const QString& f, qsizetype& p, QChar start) {
        const qsizetype at = p - 1;
        const bool pm = m_time.hour() >= 12;
        if (startsWithNoCase(f, at, QLatin1StringView("am/pm"))) {
            m_out += f.mid(pm ? at + 3 : at, 2);
            p = at + 5;
        } else if (startsWithNoCase(f, at, QLatin1StringView("a/p"))) {
            m_out += f.mid(pm ? at + 2 : at, 1);
            p = at + 3;
        } else if (startsWithNoCase(f, at, QLatin1StringView("ampm"))) {
            m_out += pm ? m_locale.pmText : m_locale.amText;
            p = at + 4;
        } else {
            m_out += start;
        }
    }

    QDate m_date;
    QTime m_time;
    const DateFormatLocale& m_locale;
    QString m_out;
    int m_level = 0;
};

// The separator of a QLocale pattern: its first character that is not a
// letter, a digit, a blank or a quote.
QChar separatorOf(const QString& qtFormat, QChar fallback) {
    for (QChar c : qtFormat) {
        if (!c.isLetterOrNumber() && !c.isSpace() && c != u'\'')
            return c;
    }
    return fallback;
}

// Letters and quotes mean something in this language, and "/" and ":" stand
// for the separators; such literal characters go out quoted.
void appendLiteral(QString& out, QChar c, QChar dateSeparator, QChar timeSeparator) {
    if (c == u'/' && dateSeparator == u'/') {
        out += c;
    } else if (c == u':' && timeSeparator == u':') {
        out += c;
    } else if (c == u'"') {
        out += QStringLiteral("'\"'");
    } else if (c == u'\'' || c == u'/' || c == u':' || (c.unicode() < 128 && c.isLetter())) {
        out += u'"';
        out += c;
        out += u'"';
    } else {
        out += c;
    }
}

} // namespace

DateFormatLocale DateFormatLocale::fromLocale(const QLocale& locale) {
    DateFormatLocale r;
    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
    r.dateSeparator = separatorOf(shortDate, u'/');
    r.timeSeparator = separatorOf(shortTime, u':');
    r.shortDateFormat = fromQtDateFormat(shortDate, r.dateSeparator, r.timeSeparator);
    r.longDateFormat =
        fromQtDateFormat(locale.dateFormat(QLocale::LongFormat), r.dateSeparator, r.timeSeparator);
    r.shortTimeFormat = fromQtDateFormat(shortTime, r.dateSeparator, r.timeSeparator);
    r.longTimeFormat =
        fromQtDateFormat(locale.timeFormat(QLocale::LongFormat), r.dateSeparator, r.timeSeparator);
    r.amText = locale.amText();
    r.pmText = locale.pmText();
    return r;
}

QString formatDateTime(const QString& format, const QDateTime& value, const DateFormatLocale& locale) {
    Formatter formatter(value, locale);
    formatter.append(format.isEmpty() ? QStringLiteral("c") : format);
    return formatter.result();
}

QString formatDateTime(const QString& format, const QDateTime& value) {
    return formatDateTime(format, value, DateFormatLocale::system());
}

QString fromQtDateFormat(const QString& qt, QChar dateSeparator, QChar timeSeparator) {
    QString out;
    const qsizetype n = qt.size();
    qsizetype p = 0;
    while (p < n) {
        const QChar c = qt[p];
        qsizetype run = 1;
        while (p + run < n && qt[p + run] == c)
            ++run;
        switch (c.unicode()) {
        case u'd':
            out += QString(qMin<qsizetype>(run, 4), u'd');
            break;
        case u'M':
            out += QString(qMin<qsizetype>(run, 4), u'm');
            break;
        case u'y':
            out += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
            break;
        case u'h':
        case u'H':
            out += QString(qMin<qsizetype>(run, 2), u'h');
            break;
        case u'm':
            out += QString(qMin<qsizetype>(run, 2), u'n');
            break;
        case u's':
            out += QString(qMin<qsizetype>(run, 2), u's');
            break;
        case u'z':
            out += run >= 3 ? QStringLiteral("zzz") : QStringLiteral("z");
            break;
        case u'A':
        case u'a':
            // AP, ap, A, a: the locale's own morning and afternoon texts.
            if (p + 1 < n && (qt[p + 1] == u'P' || qt[p + 1] == u'p'))
                run = 2;
            else
                run = 1;
            out += QStringLiteral("ampm");
            break;
        case u't':
            // Time zones have no place in the language; drop the blank before.
            if (out.endsWith(u' '))
                out.chop(1);
            break;
        case u'\'': {
            if (run >= 2 && run % 2 == 0) {
                for (qsizetype i = 0; i < run / 2; ++i)
                    appendLiteral(out, u'\'', dateSeparator, timeSeparator);
                break;
            }
            // A quoted text, in which '' stands for one quote.
            qsizetype q = p + 1;
            while (q < n) {
                if (qt[q] == u'\'') {
                    if (q + 1 < n && qt[q + 1] == u'\'') {
                        appendLiteral(out, u'\'', dateSeparator, timeSeparator);
                        q += 2;
                        continue;
                    }
                    ++q;
                    break;
                }
                appendLiteral(out, qt[q++], dateSeparator, timeSeparator);
            }
            run = q - p;
            break;
        }
        default:
            for (qsizetype i = 0; i < run; ++i)
                appendLiteral(out, c, dateSeparator, timeSeparator);
        }
        p += run;
    }
    return out;
}

} // namespace vlr
