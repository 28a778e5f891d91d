#pragma once
// RTF for readers outside the program: every Windows-1251 escape of the text
// also given as its Unicode character, so readers that ignore the document's
// code page still read the right letters.
#include <QByteArray>

namespace vlr {

// "\'cf" in the document's text becomes "\u1055\'cf" (the writer's \uc1 makes
// the old escape the fallback). Font and colour tables, pictures, objects and
// ignorable destinations are left as they are.
QByteArray WithUnicodeEscapes(const QByteArray& rtf);

} // namespace vlr
