#pragma once
// Groups kept as written (footnotes, text boxes, unknown destinations) go back
// into RTF among fonts numbered anew: a \fN inside the group, or the font the
// writer has on before it, may read 8-bit text under another code page than
// the one it was read under. So that text is rewritten as \uN, which means
// the same under any font.
#include <QByteArray>
#include <QByteArrayView>

#include <functional>

namespace vlr::rtf {

// The code page text in font `font` reads in while the document's \ansicpg is
// `ansiCodePage` (font -1: the document's default font).
using FontCodePage = std::function<int(int font, int ansiCodePage)>;

// The group with its 8-bit text (literal, \'hh or a double-byte letter's
// second byte, not \u fallbacks or \bin data) as {\uc1\uN?} groups, decoded
// as the reader decodes it; \u fallbacks skipped as the reader skips them.
// `font` and `ansiCodePage` are those in effect where the group opens; \f and
// \ansicpg inside it change them as they do for the reader.
QByteArray keptWithUnicodeText(QByteArrayView group, int font, int ansiCodePage,
                               const FontCodePage& fontCodePage);

} // namespace vlr::rtf
