#include "editor/plain_stream.h"

#include "core/codepage.h"
#include "rtf/plain_body.h"

#include <QtEndian>

namespace vlr {

QString decodePlainStream(QByteArrayView data, bool unicode, TPlainOrigin origin) {
    if (!unicode)
        return origin == TPlainOrigin::poOutside ? rtf::outsidePlainText(data) : rtf::plainBodyText(data);
    QByteArrayView d = data;
    if (d.startsWith("\xFF\xFE"))
        d = d.sliced(2);
    QString text(d.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(d.data() + 2 * i));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QByteArray encodePlainStream(const QString& text, bool unicode) {
    QString t = text;
    t.replace(u'\n', QStringLiteral("\r\n"));
    if (unicode) {
        QByteArray out(t.size() * 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < t.size(); ++i)
            qToLittleEndian<quint16>(t[i].unicode(), out.data() + 2 * i);
        return out;
    }
    if (fitsAnsi(t))
        return toAnsi(t);
    return QByteArray("\xEF\xBB\xBF") + t.toUtf8();
}

QString streamTextOf(QString text) {
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

} // namespace vlr
