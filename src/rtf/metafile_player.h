#pragma once
// Drawing Windows metafiles: the common records of 16-bit metafiles (WMF)
// and enhanced metafiles (EMF) played onto an image. Unknown records are
// passed over; damaged ones end the picture where they start.
#include <QByteArray>
#include <QImage>
#include <QSizeF>

namespace vlr::rtf {

struct PlayedMetafile {
    QImage image;    // null when the data is not a metafile or shows nothing
    int shapes = 0;  // lines, shapes and texts drawn
    int bitmaps = 0; // bitmaps drawn
};

// size: the size in pixels to draw at; empty for the metafile's own extent
// at 96 pixels an inch. The image is made smaller to keep within maxPixels.
PlayedMetafile playWmf(const QByteArray& wmf, QSizeF size, qint64 maxPixels);
PlayedMetafile playEmf(const QByteArray& emf, QSizeF size, qint64 maxPixels);

} // namespace vlr::rtf
