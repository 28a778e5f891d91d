#pragma once
// Searching the control's text.
#include "editor/richedit_types.h"

#include <QString>

class QTextDocument;

namespace vlr {

// Position of the first match of `text` inside [start, end) (end < 0: to the
// end of the text), searching down from start or, with stBackward, up from
// end; -1 when there is none. Match length is text.size().
int findText(const QTextDocument* doc, const QString& text, int start, int end, TRichSearchTypes options);

// The next word boundary to the right of pos: the start of the next word,
// or the end of the text.
int wordBreakRight(const QTextDocument* doc, int pos);

} // namespace vlr
