#include "editor/find_text.h"

#include <QTextCursor>
#include <QTextDocument>

namespace vlr {

int findText(const QTextDocument* doc, const QString& text, int start, int end, TRichSearchTypes options)
{
    if (!doc || text.isEmpty())
        return -1;
    const int last = doc->characterCount() - 1;
    start = qBound(0, start, last);
    end = end < 0 ? last : qBound(0, end, last);
    if (end - start < text.size())
        return -1;
    QTextDocument::FindFlags flags;
    if (options & stMatchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (options & stWholeWord)
        flags |= QTextDocument::FindWholeWords;
    QTextCursor found;
    if (options & stBackward) {
        flags |= QTextDocument::FindBackward;
        found = doc->find(text, end, flags);
        while (!found.isNull() && found.selectionEnd() > end)
            found = doc->find(text, found.selectionStart(), flags);
        if (!found.isNull() && found.selectionStart() < start)
            return -1;
    } else {
        found = doc->find(text, start, flags);
        if (!found.isNull() && found.selectionEnd() > end)
            return -1;
    }
    return found.isNull() ? -1 : found.selectionStart();
}

int wordBreakRight(const QTextDocument* doc, int pos)
{
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
