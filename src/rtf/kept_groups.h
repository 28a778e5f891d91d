#pragma once
// Groups kept as written (footnotes, text boxes, unknown destinations) go back
// into RTF that declares Windows-1251. Read under another code page, their
// 8-bit text would change meaning there, so it is rewritten as \uN.
#include <QByteArray>
#include <QByteArrayView>

namespace vlr::rtf {

// The group unchanged when it was read under Windows-1251 or a multi-byte
// page; otherwise its 8-bit text (literal or \'hh, not \u fallbacks or \bin
// data) as {\uc1\uN?} groups, skipping \u fallbacks as the reader does.
QByteArray keptFor1251(QByteArrayView group, int codePage);

} // namespace vlr::rtf
