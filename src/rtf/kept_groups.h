#pragma once
// Groups kept as written (footnotes, text boxes, unknown destinations) go back
// into RTF that declares Windows-1251. Read under another code page, their
// 8-bit text would change meaning there, so it is rewritten as \uN.
#include <QByteArray>
#include <QByteArrayView>

#include <functional>

namespace vlr::rtf {

// The code page text in font `font` reads in while the document's \ansicpg is
// `ansiCodePage` (font -1: the document's default font).
using FontCodePage = std::function<int(int font, int ansiCodePage)>;

// The group with its 8-bit text (literal, \'hh or a double-byte letter's
// second byte, not \u fallbacks or \bin data) that was read under any page but
// Windows-1251 as {\uc1\uN?} groups; \u fallbacks skipped as the reader skips
// them. `font` and `ansiCodePage` are those in effect where the group opens;
// \f and \ansicpg inside it change them as they do for the reader.
QByteArray keptFor1251(QByteArrayView group, int font, int ansiCodePage, const FontCodePage& fontCodePage);

} // namespace vlr::rtf
