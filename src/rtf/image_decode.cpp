#include "rtf/image_decode.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace vlr::rtf {

QImage readImage(const QByteArray& bytes, const char* format, qint64 maxPixels) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // A few bytes may claim a huge picture: the decoded size is capped.
    reader.setAllocationLimit(64);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
                           qint64(size.width()) * size.height() > maxPixels))
        return {};
    return reader.read();
}

// A DIB is a BMP file without its 14-byte file header.
QImage readDib(const QByteArray& dib, qint64 maxPixels) {
    if (dib.size() < 40)
        return {};
    const quint32 headerSize = qFromLittleEndian<quint32>(dib.constData());
    const quint16 bits = qFromLittleEndian<quint16>(dib.constData() + 14);
    quint32 colors = dib.size() >= 36 ? qFromLittleEndian<quint32>(dib.constData() + 32) : 0;
    if (colors == 0 && bits <= 8)
        colors = 1u << bits;
    if (headerSize > 1024 || colors > 256)
        return {};
    QByteArray file("BM");
    QByteArray head(12, '\0');
    qToLittleEndian<quint32>(quint32(14 + dib.size()), head.data());
    qToLittleEndian<quint32>(quint32(14 + headerSize + colors * 4), head.data() + 8);
    file += head;
    file += dib;
    return readImage(file, "BMP", maxPixels);
}

} // namespace vlr::rtf
