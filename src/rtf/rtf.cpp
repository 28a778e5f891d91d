#include "rtf/rtf.h"

#include "rtf/document_sink.h"
#include "rtf/interpreter.h"
#include "rtf/plain_body.h"
#include "rtf/text_sink.h"

#include <QTextCursor>
#include <QTextDocument>

namespace vlr::rtf {

bool readRtf(QByteArrayView rtf, QTextDocument* doc, QString* error) {
    if (!doc)
        return false;
    if (!looksLikeRtf(rtf)) {
        if (error)
            *error = QStringLiteral("not RTF: the data does not start with {\\rtf");
        return false;
    }
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    DocumentSink sink(cursor, true);
    const bool ok = interpret(rtf, sink, error);
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(undo);
    return ok;
}

bool insertRtf(QByteArrayView rtf, QTextCursor& cursor, QString* error) {
    if (cursor.isNull())
        return false;
    if (!looksLikeRtf(rtf)) {
        if (error)
            *error = QStringLiteral("not RTF: the data does not start with {\\rtf");
        return false;
    }
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    DocumentSink sink(cursor, false);
    const bool ok = interpret(rtf, sink, error);
    cursor.endEditBlock();
    return ok;
}

QString rtfToPlainText(QByteArrayView rtf) {
    if (!looksLikeRtf(rtf))
        return plainBodyText(rtf);
    TextSink sink(TextMode::Editor);
    interpret(rtf, sink);
    return sink.result();
}

} // namespace vlr::rtf
