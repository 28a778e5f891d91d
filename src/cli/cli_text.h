#pragma once
// Text in and out of vlr: input read to its real end, plain bodies between
// UTF-8 and their stored form, names made safe for a terminal, name paths.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vlr::cli {

// The largest body vlr takes.
constexpr qint64 kMaxBody = qint64(1) << 30;

// The text of an errno value; a symbolic-link loop is called that.
QString systemError(int error);

// Reads a file, or "-" for standard input, to its real end (waiting for a
// slow producer even when the input is non-blocking). UsageError when it
// cannot be read or holds more than kMaxBody bytes.
QByteArray readInput(const QString& source);

bool isValidUtf8(const QByteArray& bytes);

// A plain-text body as stored for UTF-8 text: Windows-1251 when that code
// page holds the text and reads back as the same text; otherwise the UTF-8
// behind the byte-order mark EF BB BF.
QByteArray plainBodyFromUtf8(const QByteArray& utf8);
// The text of a stored plain body as UTF-8 (the inverse of the above).
QByteArray plainBodyToUtf8(const QByteArray& stored);

// A name for text output: backslash and control characters (line breaks,
// terminal escapes, direction marks) as escapes: \\ \n \r \t \xHH \uHHHH.
QString printable(const QString& name);
// Names are stored in Windows-1251. A name with characters it cannot hold
// is refused (UsageError naming them) unless lossy: then each becomes '?'.
void checkStorableName(const QString& name, bool lossy);

// A NOTE path split into names: "/" separates them; "\/" is a "/" inside a
// name, and the escapes printable() writes stand for their characters.
// UsageError for a broken escape.
QStringList splitNamePath(const QString& path);

} // namespace vlr::cli
