#include "editor/protection.h"

#include "rtf/properties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace vlr {

namespace {

bool isProtected(const QTextCharFormat& f) {
    return f.boolProperty(rtf::PropProtect);
}

} // namespace

bool touchesProtected(const QTextDocument* doc, int start, int end) {
    if (!doc)
        return false;
    const int last = doc->characterCount() - 1;
    start = qBound(0, start, last);
    end = qBound(start, end, last);
    if (start == end) {
        QTextCursor c(const_cast<QTextDocument*>(doc));
        c.setPosition(start);
        return isProtected(c.charFormat());
    }
    for (QTextBlock b = doc->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        const int bEnd = b.position() + b.length(); // includes the paragraph mark
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() <= start || f.position() >= end)
                continue;
            if (isProtected(f.charFormat()))
                return true;
        }
        // The paragraph mark carries the attributes of the text before it.
        if (bEnd - 1 >= start && bEnd - 1 < end && b.length() > 1) {
            QTextCursor c(const_cast<QTextDocument*>(doc));
            c.setPosition(bEnd - 1);
            if (isProtected(c.charFormat()))
                return true;
        }
    }
    return false;
}

bool touchesProtected(const QTextCursor& cursor) {
    return touchesProtected(cursor.document(), cursor.selectionStart(), cursor.selectionEnd());
}

} // namespace vlr
