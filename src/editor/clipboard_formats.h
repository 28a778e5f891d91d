#pragma once
// The control's clipboard and drag-and-drop data: what copy offers, what
// paste takes, the paste-special choices and the effect of a drop.
#include "editor/richedit_types.h"

#include <QList>
#include <QString>
#include <QStringList>

class QMimeData;
class QTextCursor;

namespace vlr {

// MIME types RTF travels under.
QStringList rtfMimeTypes();

// RTF (both MIME types), HTML and plain text of the cursor's selection.
QMimeData* mimeDataForSelection(const QTextCursor& selection);

// The paste-special choices that exist here, in their fixed order.
enum class TPasteFormat { pfRtf, pfRtfNoObjects, pfText, pfBitmap };
struct TPasteSpecialEntry {
    TPasteFormat format;
    QString formatName; // the name the list shows
    QString resultText; // what the paste will produce
};
// The entries the data can serve (all of them for a null source).
QList<TPasteSpecialEntry> pasteSpecialEntries(const QMimeData* source);

// Whether the data holds anything the control can paste (plain: text only).
bool canPasteData(const QMimeData* source, bool plainText);

// Inserts the data in place of the cursor's selection: RTF when offered,
// otherwise HTML, otherwise text, otherwise a bitmap; a plain-text control
// takes only text. Returns false when nothing could be inserted.
bool insertMimeData(const QMimeData* source, QTextCursor& cursor, bool plainText);
// Inserts the data in one chosen format.
bool insertMimeDataAs(const QMimeData* source, QTextCursor& cursor, TPasteFormat format);

// The number of characters the data would insert (for the text limit).
qsizetype mimeTextLength(const QMimeData* source, bool plainText);

// The effect of a drop: Ctrl and Shift link, Ctrl alone copies, otherwise a
// move; reverse swaps move and copy.
TDropEffect dropEffectFor(bool ctrl, bool shift, bool reverse);

} // namespace vlr
