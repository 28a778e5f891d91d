#include "core/dateformat.h"

#include <gtest/gtest.h>

using namespace vlr;

namespace {

struct FormatCase {
    const char* format;
    const char* expected;
};

const QDateTime kAfternoon(QDate(2026, 12, 10), QTime(14, 5, 7, 89)); // a Thursday

} // namespace

TEST(DateFormat, FormatsEveryToken) {
    const DateFormatLocale ru; // dd.mm.yyyy, h:nn, Russian separators
    const FormatCase cases[] = {
        {"d/m/yy", "10.12.26"},
        {"dd/mm/yyyy", "10.12.2026"},
        {"YYYY-MM-DD", "2026-12-10"},
        {"yyy", "2026"},
        {"ddd", "Чт"},
        {"dddd", "четверг"},
        {"ddddd", "10.12.2026"},
        {"dddddd", "10 декабря 2026"},
        {"mmm", "дек"},
        {"mmmm", "Декабрь"},
        {"dd mmmm yyyy", "10 декабря 2026"},
        {"mmmm yyyy", "Декабрь 2026"},
        {"hh:mm:ss", "14:05:07"},
        {"h:m", "14:5"},
        {"hh:nn mm", "14:05 12"},
        {"n:s", "5:7"},
        {"z", "89"},
        {"zzz", "089"},
        {"t", "14:05"},
        {"tt", "14:05:07"},
        {"h:nn am/pm", "2:05 pm"},
        {"h:nn AM/PM", "2:05 PM"},
        {"h a/p", "2 p"},
        {"hh ampm", "02 PM"},
        {"hh 'am/pm'", "14 am/pm"},
        {"c", "10.12.2026 14:05:07"},
        {"", "10.12.2026 14:05:07"},
        {"'dd' \"mm\" x", "dd mm x"},
        {"'open", "open"},
        {"------------< hh:mm:ss, dd mmmm yyyy >------------",
         "------------< 14:05:07, 10 декабря 2026 >------------"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatDateTime(QString::fromUtf8(c.format), kAfternoon, ru), QString::fromUtf8(c.expected))
            << c.format;
}

TEST(DateFormat, MidnightAndTheTwelveHourClock) {
    const DateFormatLocale ru;
    const QDateTime midnight(QDate(2026, 1, 5), QTime(0, 30));
    EXPECT_EQ(formatDateTime("h am/pm", midnight, ru), "12 am");
    EXPECT_EQ(formatDateTime("c", QDateTime(QDate(2026, 1, 5), QTime(0, 0)), ru), "05.01.2026");
    EXPECT_EQ(formatDateTime("dddd ddd", midnight, ru), QStringLiteral("понедельник Пн"));
    // No date at all: no names, and no read outside the name tables.
    EXPECT_EQ(formatDateTime("[dddd mmm mmmm]", QDateTime(), ru), "[  ]");
}

TEST(DateFormat, LocaleFormatsThatNameThemselvesDoNotRecurse) {
    DateFormatLocale loops;
    loops.shortDateFormat = "ddddd";
    loops.longTimeFormat = "c";
    EXPECT_EQ(formatDateTime("ddddd", kAfternoon, loops), "");
    EXPECT_EQ(formatDateTime("tt", kAfternoon, loops), " ");
}

TEST(DateFormat, ConvertsQtPatterns) {
    const struct {
        const char* qt;
        QChar dateSep;
        QChar timeSep;
        const char* expected;
    } cases[] = {
        {"dd.MM.yyyy", u'.', u':', "dd.mm.yyyy"},
        {"dddd, d MMMM yyyy 'г'.", u'.', u':', "dddd, d mmmm yyyy г."},
        {"HH:mm", u'.', u':', "hh:nn"},
        {"HH:mm:ss t", u'.', u':', "hh:nn:ss"},
        {"M/d/yy", u'/', u':', "m/d/yy"},
        {"h:mm AP", u'/', u':', "h:nn ampm"},
        {"h:mm:ss.zzz", u'/', u':', "h:nn:ss.zzz"},
        {"yyyy-MM-dd", u'-', u':', "yyyy-mm-dd"},
        {"d/M", u'.', u':', "d\"/\"m"},
        {"H.mm 'at' h 'o''clock'", u'.', u'.', "h.nn \"a\"\"t\" h \"o\"\"'\"\"c\"\"l\"\"o\"\"c\"\"k\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fromQtDateFormat(QString::fromUtf8(c.qt), c.dateSep, c.timeSep),
                  QString::fromUtf8(c.expected))
            << c.qt;
}

// The converted locale formats must print what the locale itself prints.
TEST(DateFormat, SystemFormatsMatchTheLocale) {
    for (const char* name : {"ru_RU", "en_US", "de_DE", "en_GB", "ja_JP"}) {
        const QLocale locale(QString::fromLatin1(name));
        const DateFormatLocale converted = DateFormatLocale::fromLocale(locale);
        EXPECT_EQ(formatDateTime(converted.shortDateFormat, kAfternoon, converted),
                  locale.toString(kAfternoon.date(), QLocale::ShortFormat))
            << name;
        EXPECT_EQ(formatDateTime(converted.shortTimeFormat, kAfternoon, converted),
                  locale.toString(kAfternoon.time(), QLocale::ShortFormat))
            << name;
    }
    EXPECT_EQ(DateFormatLocale::fromLocale(QLocale("ru_RU")).dateSeparator, u'.');
    EXPECT_EQ(DateFormatLocale::fromLocale(QLocale("en_US")).dateSeparator, u'/');
}
