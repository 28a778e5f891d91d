#pragma once
// Rich text of note bodies: reading RTF into a QTextDocument, writing it back,
// and the plain text of an RTF body.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QTextDocument;
class QTextCursor;

namespace vlr::rtf {

// True when the data starts (after white space) with "{\rtf".
bool looksLikeRtf(QByteArrayView data);

// Replaces the document's content. Returns false (error set) when the data is
// not RTF; damaged RTF is read as far as it goes.
bool readRtf(QByteArrayView rtf, QTextDocument* doc, QString* error = nullptr);

// Inserts the RTF in place of the cursor's selection (paste, stream-in of a
// selection); what the RTF leaves unsaid comes from the cursor's formats. The
// cursor ends after the inserted content.
bool insertRtf(QByteArrayView rtf, QTextCursor& cursor, QString* error = nullptr);

// WritePortable: for RTF that leaves the program (clipboard, export, files),
// text in the form every reader decodes alike; stored bodies keep the
// compact \'hh form, half the size for Russian text.
enum WriteFlag { WriteSelection = 1, WriteNoObjects = 2, WritePlainRtf = 4, WritePortable = 8 };

// The document (or, with WriteSelection, the selection) as RTF in the form a
// rich-edit control writes it.
QByteArray writeRtf(const QTextDocument* doc, int flags = 0, const QTextCursor* selection = nullptr);

// The text of the document readRtf builds for the same bytes, character for
// character as QTextDocument::toPlainText() gives it (editor positions).
// Data that is not RTF is returned decoded as plain text.
QString rtfToPlainText(QByteArrayView rtf);

} // namespace vlr::rtf
