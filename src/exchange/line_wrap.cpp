#include "exchange/line_wrap.h"

#include <QList>

namespace vlr {

namespace {

void wrapOne(QStringView line, int width, QString& out) {
    qsizetype start = 0;     // start of the output line being built
    QList<qsizetype> breaks; // positions after break characters on it, in order
    QChar quote;             // the open quote, if any
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (!quote.isNull()) {
            if (c == quote) {
                quote = QChar();
                breaks.append(i + 1); // a closing quote is a break character like any other
            }
        } else if (c == u'"' || c == u'\'') {
            quote = c; // an opening quote is not a place to break
        } else if (kLineBreakChars.contains(c)) {
            breaks.append(i + 1);
        }
        if (i + 1 - start <= width || breaks.isEmpty())
            continue;
        // The last break within the width, else the first one past it.
        qsizetype at = breaks.first();
        for (qsizetype b : std::as_const(breaks))
            if (b - start <= width)
                at = b;
        if (at >= line.size())
            break; // nothing would follow the break
        out += line.mid(start, at - start);
        out += u"\r\n";
        start = at;
        breaks.removeIf([start](qsizetype b) { return b <= start; });
    }
    out += line.mid(start);
    out += u"\r\n";
}

} // namespace

QString WrapLines(const QString& text, int width) {
    width = qMax(1, width);
    QString out;
    out.reserve(text.size() + text.size() / qMax(8, width) * 2 + 2);
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        qsizetype end = i;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        wrapOne(QStringView(text).mid(i, end - i), width, out);
        if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n')
            ++end;
        i = end + 1;
    }
    return out;
}

} // namespace vlr
