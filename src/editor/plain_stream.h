#pragma once
// Plain text as the control streams it: Windows-1251 bytes (UTF-8 behind a
// byte-order mark when Windows-1251 cannot hold the text), or UTF-16 for
// Unicode streams; CR LF line ends.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vlr {

// Text with '\n' line ends.
QString decodePlainStream(QByteArrayView data, bool unicode);
QByteArray encodePlainStream(const QString& text, bool unicode);

// The document's text form ('\n' for paragraph ends and line breaks, no
// object placeholders) of a QTextCursor selection or QTextDocument text.
QString streamTextOf(QString text);

} // namespace vlr
