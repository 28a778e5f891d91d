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

// Line ends as CR LF, whatever they were (CR LF, LF or a lone CR).
QString WithCrLf(const QString& text);

// A plain note's body: Windows-1251, or UTF-8 behind its byte-order mark when
// Windows-1251 cannot hold every character.
QByteArray AnsiOrUtf8Bytes(const QString& text);

// The two kinds of plain-text file export writes for other programs.
enum class TTextFileKind {
    Ansi, // the system's code page, UTF-8 on Linux: no byte-order mark, LF line ends
    Oem,  // code page 866 with CR LF, as DOS programs read it
};

// The bytes of a text file of that kind; the line ends of the text are
// made the kind's own. Characters code page 866 cannot hold become "?";
// UTF-8 keeps every character, and a leading U+FEFF is dropped so that the
// file never starts with a byte-order mark.
QByteArray TextFileBytes(const QString& text, TTextFileKind kind);

// The plain text put on the clipboard for other programs: up to the first
// zero character, with LF line ends as Linux programs paste them.
QString ClipboardPlainText(const QString& text);

} // namespace vlr
