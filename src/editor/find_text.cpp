#include "editor/find_text.h"

#include <QTextCursor>
#include <QTextDocument>

namespace vlr {

namespace {

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

int findText(const QTextDocument* doc, const QString& text, int start, int end, TRichSearchTypes options) {
    if (!doc || text.isEmpty())
        return -1;
    // The plain text has one character per editor position.
    const QString all = doc->toPlainText();
    const int last = int(all.size());
    start = qBound(0, start, last);
    end = end < 0 ? last : qBound(0, end, last);
    const int n = int(text.size());
    if (end - start < n)
        return -1;
    const Qt::CaseSensitivity cs = options & stMatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool whole = options & stWholeWord;
    auto wholeAt = [&](int pos) {
        return !whole ||
               ((pos == 0 || !isWordChar(all[pos - 1])) && (pos + n >= last || !isWordChar(all[pos + n])));
    };
    const QStringView range = QStringView(all).mid(start, end - start);
    const bool backward = options & stBackward;
    qsizetype from = backward ? range.size() - n : 0;
    while (from >= 0 && from <= range.size() - n) {
        const qsizetype at = backward ? range.lastIndexOf(text, from, cs) : range.indexOf(text, from, cs);
        if (at < 0)
            return -1;
        if (wholeAt(start + int(at)))
            return start + int(at);
        from = backward ? at - 1 : at + 1;
    }
    return -1;
}

int wordBreakRight(const QTextDocument* doc, int pos) {
    if (!doc)
        return 0;
    const int last = doc->characterCount() - 1;
    QTextCursor c(const_cast<QTextDocument*>(doc));
    c.setPosition(qBound(0, pos, last));
    if (!c.movePosition(QTextCursor::NextWord))
        return last;
    return c.position();
}

} // namespace vlr
