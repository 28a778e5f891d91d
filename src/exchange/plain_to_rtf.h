#pragma once
// Plain-text files made into RTF for import.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vlr {

// The document header names the font (fontName) and its size in points.
// A file beginning with the UTF-8 byte-order mark, or valid UTF-8 holding
// non-ASCII text, is read as Unicode (\uN); anything else byte for byte as
// Windows-1251 (\'hh). Tabs become \tab, line feeds \par, carriage returns
// and other control bytes are dropped.
QByteArray PlainTextToRtf(QByteArrayView text, const QString& fontName, int fontSize);

// Whether the bytes are to be read as UTF-8 by the rule above.
bool LooksLikeUtf8Text(QByteArrayView text);

} // namespace vlr
