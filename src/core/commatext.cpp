#include "core/commatext.h"

namespace vlr {

namespace {

constexpr QChar kQuote = u'"';
constexpr QChar kDelimiter = u',';

bool isBlank(QChar c) {
    return c.unicode() <= ' ';
}

bool needsQuotes(const QString& item) {
    for (QChar c : item) {
        if (isBlank(c) || c == kQuote || c == kDelimiter)
            return true;
    }
    return false;
}

QString quoted(const QString& item) {
    QString out;
    out.reserve(item.size() + 2);
    out += kQuote;
    for (QChar c : item) {
        out += c;
        if (c == kQuote)
            out += kQuote;
    }
    out += kQuote;
    return out;
}

} // namespace

QString toCommaText(const QStringList& items, bool extraComma) {
    if (items.isEmpty())
        return {};
    QString out;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += kDelimiter;
        const QString& item = items[i];
        // A lone empty item, or an empty last one without the extra comma,
        // written bare would read back as nothing; quoting keeps it.
        const bool keepEmpty =
            item.isEmpty() && (items.size() == 1 || (i == items.size() - 1 && !extraComma));
        out += (needsQuotes(item) || keepEmpty) ? quoted(item) : item;
    }
    if (extraComma)
        out += kDelimiter;
    return out;
}

QStringList fromCommaText(const QString& text) {
    QStringList items;
    const qsizetype n = text.size();
    qsizetype p = 0;
    auto skipBlanks = [&] {
        while (p < n && isBlank(text[p]))
            ++p;
    };
    skipBlanks();
    if (p < n && text[p] == kDelimiter) {
        qsizetype q = p + 1;
        while (q < n && isBlank(text[q]))
            ++q;
        if (q == n)
            return items; // "," alone: the written form of an empty list
    }
    while (p < n) {
        QString item;
        if (text[p] == kQuote) {
            ++p;
            while (p < n) {
                if (text[p] == kQuote) {
                    if (p + 1 < n && text[p + 1] == kQuote) {
                        item += kQuote;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < n && !isBlank(text[p]) && text[p] != kDelimiter)
                ++p;
            item = text.mid(start, p - start);
        }
        items.append(item);
        skipBlanks();
        if (p < n && text[p] == kDelimiter) {
            ++p;
            skipBlanks();
        }
    }
    return items;
}

} // namespace vlr
