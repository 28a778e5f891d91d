#pragma once
// Plain text as the control streams it: Windows-1251 bytes (UTF-8 behind a
// byte-order mark when Windows-1251 cannot hold the text), or UTF-16 for
// Unicode streams; CR LF line ends.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vlr {

// Where plain bytes come from. A note's stored body keeps its own rule
// (Windows-1251, UTF-8 after a byte-order mark); text from outside a notebook
// (files) is also UTF-8 when it forms valid UTF-8 with non-ASCII in it.
enum class TPlainOrigin { poStoredBody, poOutside };

// Text with '\n' line ends.
QString decodePlainStream(QByteArrayView data, bool unicode, TPlainOrigin origin);
QByteArray encodePlainStream(const QString& text, bool unicode);

// The document's text form ('\n' for paragraph ends and line breaks, no
// object placeholders) of a QTextCursor selection or QTextDocument text.
QString streamTextOf(QString text);

} // namespace vlr
