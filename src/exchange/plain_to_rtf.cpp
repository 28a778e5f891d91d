#include "exchange/plain_to_rtf.h"

#include "rtf/escape.h"
#include "rtf/plain_body.h"

namespace vlr {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendByte(QByteArray& out, unsigned char c) {
    switch (c) {
    case '\t':
        out += "\\tab ";
        return;
    case '\n':
        out += "\\par\r\n";
        return;
    case '\\':
        out += "\\\\";
        return;
    case '{':
        out += "\\{";
        return;
    case '}':
        out += "\\}";
        return;
    default:
        break;
    }
    if (c >= 128) {
        out += "\\'";
        out += kHex[c >> 4];
        out += kHex[c & 15];
    } else if (c >= 32) {
        out += char(c);
    }
}

} // namespace

bool LooksLikeUtf8Text(QByteArrayView text) {
    return rtf::looksLikeUtf8Text(text);
}

QByteArray PlainTextToRtf(QByteArrayView text, const QString& fontName, int fontSize) {
    // The code page is named: bytes of Windows-1251 text must not be read as any other.
    QByteArray out("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil ");
    QString name = fontName;
    name.remove(u';');
    rtf::appendRtfText(out, name);
    out += ";}}\\viewkind4\\fs" + QByteArray::number(fontSize * 2) + "\r\n";
    out.reserve(out.size() + text.size() + text.size() / 8 + 8);
    if (LooksLikeUtf8Text(text)) {
        const QString decoded = QString::fromUtf8(text.startsWith("\xEF\xBB\xBF") ? text.sliced(3) : text);
        for (const QChar c : decoded) {
            if (c.unicode() < 128)
                appendByte(out, uchar(c.unicode()));
            else
                out += "\\u" + QByteArray::number(qint16(c.unicode())) + '?';
        }
    } else {
        for (const char c : text)
            appendByte(out, uchar(c));
    }
    out += "\r\n}\r\n";
    return out;
}

} // namespace vlr
