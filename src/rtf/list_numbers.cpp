#include "rtf/list_numbers.h"

namespace vlr::rtf {

QString listNumberText(QTextListFormat::Style style, int n) {
    switch (style) {
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha: {
        QString s;
        int v = n;
        while (v > 0) {
            --v;
            s.prepend(QChar(u'a' + v % 26));
            v /= 26;
        }
        if (s.isEmpty())
            s = QString::number(n);
        return style == QTextListFormat::ListUpperAlpha ? s.toUpper() : s;
    }
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman: {
        if (n <= 0 || n >= 4000)
            return QString::number(n);
        static const int values[] = {1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1};
        static const char* const digits[] = {"m",  "cm", "d",  "cd", "c",  "xc", "l",
                                             "xl", "x",  "ix", "v",  "iv", "i"};
        QString s;
        int v = n;
        for (int i = 0; i < 13; ++i) {
            while (v >= values[i]) {
                s += QLatin1String(digits[i]);
                v -= values[i];
            }
        }
        return style == QTextListFormat::ListUpperRoman ? s.toUpper() : s;
    }
    default:
        return QString::number(n);
    }
}

QString listItemLabel(const QTextBlock& block) {
    const QTextList* list = block.textList();
    if (!list)
        return {};
    const QTextListFormat f = list->format();
    const auto style = f.style();
    if (style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
        style == QTextListFormat::ListSquare)
        return QString(QChar(0x2022));
    const int start = f.hasProperty(PropListStart) ? f.intProperty(PropListStart) : 1;
    return f.numberPrefix() + listNumberText(style, start + list->itemNumber(block)) + f.numberSuffix();
}

} // namespace vlr::rtf
