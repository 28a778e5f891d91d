#include "rtf/pictures.h"

#include "rtf/image_decode.h"
#include "rtf/metafile_bitmaps.h"
#include "rtf/metafile_player.h"

#include <QPainter>

namespace vlr::rtf {

namespace {

QImage drawMetafile(const Picture& picture, qint64 maxPixels) {
    const bool wmf = picture.kind == Picture::Wmf;
    // Drawn at the size it is shown at, or at its own size when the RTF gives none.
    const bool sized = (picture.picwgoal > 0 && picture.pichgoal > 0) ||
                       (picture.picw > 0 && picture.pich > 0) ||
                       (picture.object && picture.objw > 0 && picture.objh > 0);
    const QSizeF size = sized ? shownSize(picture, QImage()) : QSizeF();
    const PlayedMetafile played =
        wmf ? playWmf(picture.data, size, maxPixels) : playEmf(picture.data, size, maxPixels);
    // A metafile that only wraps a bitmap (paint programs, scanners) shows
    // the bitmap at its own resolution.
    if (played.shapes == 0 && played.bitmaps <= 1) {
        const QImage bitmap = readDib(wmf ? wmfBitmap(picture.data) : emfBitmap(picture.data), maxPixels);
        if (!bitmap.isNull())
            return bitmap;
    }
    return played.image;
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
    case Picture::Emf:
        return drawMetafile(picture, maxPixels);
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
    w = qBound<qreal>(1, w * sx / 100.0, kMaxPictureSide);
    h = qBound<qreal>(1, h * sy / 100.0, kMaxPictureSide);
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
