#include "rtf/pictures.h"

#include "rtf/metafile_bitmaps.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

namespace vlr::rtf {

namespace {

// Decoding limits: a damaged header must not make us allocate gigabytes.
constexpr int kMaxSide = 8192;

QImage readImage(const QByteArray& bytes, const char* format, qint64 maxPixels) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // A few bytes may claim a huge picture: the decoded size is capped.
    reader.setAllocationLimit(64);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide ||
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

} // namespace

QImage decodePicture(const Picture& picture, qint64 maxPixels) {
    switch (picture.kind) {
    case Picture::Png:
        return readImage(picture.data, "PNG", maxPixels);
    case Picture::Jpeg:
        return readImage(picture.data, "JPEG", maxPixels);
    case Picture::Dib:
        return readDib(picture.data, maxPixels);
    case Picture::Wmf:
        return readDib(wmfBitmap(picture.data), maxPixels);
    case Picture::Emf:
        return readDib(emfBitmap(picture.data), maxPixels);
    default:
        return {};
    }
}

QSizeF shownSize(const Picture& picture, const QImage& decoded) {
    qreal w = 0, h = 0;
    const int objW = picture.object ? picture.objw : 0;
    const int objH = picture.object ? picture.objh : 0;
    if (picture.picwgoal > 0 && picture.pichgoal > 0) {
        w = picture.picwgoal / 15.0;
        h = picture.pichgoal / 15.0;
    } else if (objW > 0 && objH > 0) {
        w = objW / 15.0;
        h = objH / 15.0;
    } else if (!decoded.isNull()) {
        w = decoded.width();
        h = decoded.height();
    } else if (picture.picw > 0 && picture.pich > 0 &&
               (picture.kind == Picture::Wmf || picture.kind == Picture::Emf)) {
        // Metafile sizes are in hundredths of a millimetre.
        w = picture.picw * 96.0 / 2540.0;
        h = picture.pich * 96.0 / 2540.0;
    } else if (picture.picw > 0 && picture.pich > 0) {
        w = picture.picw;
        h = picture.pich;
    } else {
        w = h = 32;
    }
    const int sx = picture.scalex > 0 ? picture.scalex : 100;
    const int sy = picture.scaley > 0 ? picture.scaley : 100;
    w = qBound<qreal>(1, w * sx / 100.0, kMaxSide);
    h = qBound<qreal>(1, h * sy / 100.0, kMaxSide);
    return {w, h};
}

QImage placeholderImage() {
    // Small and shared: the image format's size stretches it to the picture's size.
    static const QImage image = [] {
        QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
        img.fill(QColor(235, 235, 235));
        QPainter p(&img);
        p.setPen(QColor(150, 150, 150));
        p.drawRect(0, 0, 15, 15);
        p.drawLine(0, 0, 15, 15);
        p.drawLine(0, 15, 15, 0);
        return img;
    }();
    return image;
}

} // namespace vlr::rtf
