#include "rtf/plain_body.h"

#include "core/codepage.h"

#include <QStringDecoder>

namespace vlr::rtf {

namespace {

QString withNewlines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

bool isValidUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError() && !text.isEmpty();
}

bool hasNonAscii(QByteArrayView bytes) {
    for (char c : bytes) {
        if (uchar(c) >= 0x80)
            return true;
    }
    return false;
}

} // namespace

QString plainBodyText(QByteArrayView body) {
    if (body.startsWith("\xEF\xBB\xBF"))
        return withNewlines(QString::fromUtf8(body.sliced(3)));
    return withNewlines(fromAnsi(body.data(), body.size()));
}

bool looksLikeUtf8Text(QByteArrayView bytes) {
    return bytes.startsWith("\xEF\xBB\xBF") || (hasNonAscii(bytes) && isValidUtf8(bytes));
}

QString outsidePlainText(QByteArrayView bytes) {
    if (!bytes.startsWith("\xEF\xBB\xBF") && looksLikeUtf8Text(bytes))
        return withNewlines(QString::fromUtf8(bytes));
    return plainBodyText(bytes);
}

} // namespace vlr::rtf
