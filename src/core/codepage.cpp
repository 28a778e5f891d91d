#include "core/codepage.h"

#include <QHash>
#include <QMutex>
#include <QStringDecoder>
#include <QStringEncoder>

namespace vlr {

namespace {

QByteArray codecName(int codePage) {
    switch (codePage) {
    case 866:
        return "IBM866";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "EUC-KR";
    case 950:
        return "Big5";
    case 65001:
        return "UTF-8";
    case 10000:
        return "macintosh";
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    default:
        if (codePage >= 1250 && codePage <= 1258)
            return "windows-" + QByteArray::number(codePage);
        return {};
    }
}

// Qt's ICU-backed converters are created by name; building them is not cheap,
// so each name is checked once.
bool nameUsable(const QByteArray& name) {
    static QMutex mutex;
    static QHash<QByteArray, bool> known;
    QMutexLocker lock(&mutex);
    auto it = known.find(name);
    if (it != known.end())
        return *it;
    QStringDecoder probe(name.constData());
    const bool ok = probe.isValid();
    known.insert(name, ok);
    return ok;
}

QString decodeWith(const char* name, const char* data, qsizetype size) {
    QStringDecoder decoder(name);
    return decoder.decode(QByteArrayView(data, size));
}

QByteArray encodeWith(const char* name, const QString& text) {
    QStringEncoder encoder(name, QStringEncoder::Flag::Stateless);
    QByteArray out;
    out.reserve(text.size());
    // Encode character by character only where needed: ICU would otherwise
    // substitute its own byte for unmappable characters.
    QByteArray whole = encoder.encode(text);
    if (!encoder.hasError() && whole.indexOf('\x1a') < 0)
        return whole;
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        QStringEncoder one(name, QStringEncoder::Flag::Stateless);
        QByteArray b = one.encode(QStringView(text).mid(i, len));
        if (one.hasError() || b.isEmpty() || (b == "\x1a" && text.at(i) != QChar(0x1a)))
            out.append('?');
        else
            out.append(b);
        i += len - 1;
    }
    return out;
}

} // namespace

QByteArray toAnsi(const QString& text) {
    return encodeWith("windows-1251", text);
}
QString fromAnsi(const QByteArray& bytes) {
    return decodeWith("windows-1251", bytes.constData(), bytes.size());
}
QString fromAnsi(const char* data, qsizetype size) {
    return decodeWith("windows-1251", data, size);
}
QByteArray toOem(const QString& text) {
    return encodeWith("IBM866", text);
}
QString fromOem(const QByteArray& bytes) {
    return decodeWith("IBM866", bytes.constData(), bytes.size());
}

bool fitsAnsi(const QString& text) {
    return fromAnsi(toAnsi(text)) == text;
}

QStringList lostInAnsi(const QString& text) {
    QStringList lost;
    if (fitsAnsi(text))
        return lost;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QString one = text.mid(i, pair ? 2 : 1);
        if (pair)
            ++i;
        if (!lost.contains(one) && fromAnsi(toAnsi(one)) != one)
            lost << one;
    }
    return lost;
}

bool codePageKnown(int codePage) {
    const QByteArray name = codecName(codePage);
    return !name.isEmpty() && nameUsable(name);
}

QString decodeCodePage(int codePage, const QByteArray& bytes) {
    const QByteArray name = codePageKnown(codePage) ? codecName(codePage) : QByteArray("windows-1251");
    return decodeWith(name.constData(), bytes.constData(), bytes.size());
}

QByteArray encodeCodePage(int codePage, const QString& text) {
    const QByteArray name = codePageKnown(codePage) ? codecName(codePage) : QByteArray("windows-1251");
    return encodeWith(name.constData(), text);
}

} // namespace vlr
