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

// What applies where the group's bytes begin.
struct KeptStart {
    int uc = 1;    // letters skipped after a \u
    int font = -1; // -1: the document's default font
    int ansiCodePage = 1252;
};

// The group with its 8-bit text (literal, \'hh or a double-byte letter's
// second byte, not \u fallbacks or \bin data) as {\uc1\uN?} groups, decoded
// as the reader decodes it; \u fallbacks skipped as the reader skips them.
// \f and \ansicpg inside the group change the code page as they do for the
// reader. A \uc other than the written document's 1 is carried into the
// group, so its \u letters skip what they skipped where they came from.
QByteArray keptWithUnicodeText(QByteArrayView group, const KeptStart& start,
                               const FontCodePage& fontCodePage);

} // namespace vlr::rtf
