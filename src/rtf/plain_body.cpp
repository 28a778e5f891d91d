#include "rtf/plain_body.h"

#include "core/codepage.h"

namespace vlr::rtf {

QString plainBodyText(QByteArrayView body) {
    QString text;
    if (body.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(body.sliced(3));
    else
        text = fromAnsi(body.data(), body.size());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace vlr::rtf
