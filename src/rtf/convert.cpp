#include "rtf/convert.h"

#include "rtf/html_writer.h"
#include "rtf/interpreter.h"
#include "rtf/plain_body.h"
#include "rtf/rtf.h"
#include "rtf/text_sink.h"

#include <QTextDocument>

namespace vlr::rtf {

QString convertData2(QByteArrayView rtf, int mode) {
    if (mode != 1)
        return rtfToPlainText(rtf);
    if (!looksLikeRtf(rtf)) {
        QString text = plainBodyText(rtf);
        text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        return text;
    }
    TextSink sink(TextMode::Export);
    interpret(rtf, sink);
    return sink.result();
}

QByteArray convertData(QByteArrayView rtfOrPlain, const ConvertDataOptions& options) {
    QTextDocument doc;
    if (!readRtf(rtfOrPlain, &doc))
        doc.setPlainText(plainBodyText(rtfOrPlain));
    return documentToHtml(&doc, options);
}

} // namespace vlr::rtf
