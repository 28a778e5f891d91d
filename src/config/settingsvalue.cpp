#include "config/settingsvalue.h"

#include <QLocale>
#include <cmath>
#include <limits>
#include <optional>

namespace vlr {

namespace {

std::optional<qint64> parseWide(const QString& raw) {
    QString t = raw.trimmed();
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.startsWith(u'-');
        t.remove(0, 1);
    }
    int base = 10;
    if (t.startsWith(u'$')) {
        base = 16;
        t.remove(0, 1);
    } else if (t.startsWith(QLatin1StringView("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t.remove(0, 2);
    }
    // toLongLong would accept blanks and a second sign; the digits must stand alone.
    if (t.isEmpty() || t.size() > 20)
        return std::nullopt;
    for (QChar c : t) {
        const char16_t u = c.unicode();
        const bool digit = (u >= u'0' && u <= u'9') ||
                           (base == 16 && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')));
        if (!digit)
            return std::nullopt;
    }
    bool ok = false;
    const qint64 v = t.toLongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    return negative ? -v : v;
}

} // namespace

int parseProfileInteger(const QString& text, int def) {
    const auto v = parseWide(text);
    if (!v || *v < std::numeric_limits<qint32>::min() || *v > std::numeric_limits<qint32>::max())
        return def;
    return static_cast<int>(*v);
}

quint32 parseProfileColor(const QString& text, quint32 def) {
    const auto v = parseWide(text);
    if (!v || *v < std::numeric_limits<qint32>::min() || *v > std::numeric_limits<quint32>::max())
        return def;
    return static_cast<quint32>(*v);
}

QString formatProfileColor(quint32 color) {
    return QString::number(static_cast<qint32>(color));
}

bool parseProfileBool(const QString& text, bool def) {
    return parseProfileInteger(text, def ? 1 : 0) != 0;
}

double parseProfileFloat(const QString& text, double def, const QString& decimalSeparator) {
    // No group separators are ever written, so a comma can only be a
    // decimal one, from this system or another.
    QString t = text.trimmed();
    if (!decimalSeparator.isEmpty())
        t.replace(decimalSeparator, QLatin1StringView("."));
    t.replace(u',', u'.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return def;
    return v;
}

QString formatProfileFloat(double value, const QString& decimalSeparator) {
    QString t = QString::number(value, 'g', 15);
    if (decimalSeparator != QLatin1StringView("."))
        t.replace(u'.', decimalSeparator);
    return t;
}

QString systemDecimalSeparator() {
    return QLocale::system().decimalPoint();
}

} // namespace vlr
