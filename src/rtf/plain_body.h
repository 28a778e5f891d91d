#pragma once
// Plain-text note bodies: Windows-1251, or UTF-8 after a byte-order mark.
#include <QByteArrayView>
#include <QString>

namespace vlr::rtf {

// The body's text with line ends as '\n' (CR LF and lone CR included).
QString plainBodyText(QByteArrayView body);

// Plain text from outside a notebook (files, drops, imports): besides the
// byte-order mark, bytes that are valid UTF-8 and hold non-ASCII are UTF-8,
// since Windows-1251 text almost never forms valid UTF-8 sequences; anything
// else is Windows-1251. Line ends as in plainBodyText.
QString outsidePlainText(QByteArrayView bytes);

// Whether outsidePlainText takes these bytes as UTF-8.
bool looksLikeUtf8Text(QByteArrayView bytes);

} // namespace vlr::rtf
