#pragma once
// Note bodies as export reads them, and text as exported files hold it.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace vlr {

class TNodeData;
class TNodeRoot;

// The note's stored text: the body in memory, or read from the file without
// keeping it (an export of a large notebook must not fill the memory). The
// zero bytes a rich body may end with are dropped. None when unreadable.
std::optional<QByteArray> StoredTextOf(TNodeRoot& notebook, const TNodeData& note);

bool IsPlainNote(const TNodeData& note);

// The extension library can be had (it converts RTF to text and HTML).
bool ExtensionsAvailable();

// The text of a body for a text export, with CR LF line ends: a plain note's
// text as it is, a rich note's through the extension library's conversion
// for text export. None without the library or when the conversion fails.
std::optional<QString> ExportTextOf(QByteArrayView body, bool plainNote);

// Line ends as CR LF, whatever they were.
QString WithCrLf(const QString& text);

// Text for an ANSI text file or a plain note's body: Windows-1251, or UTF-8
// behind its byte-order mark when Windows-1251 cannot hold every character.
QByteArray AnsiOrUtf8Bytes(const QString& text);

} // namespace vlr
