#pragma once
// Decoding of Windows BMP file images as stored in notebooks (the picture
// strip) and in a "Main.bmp" beside the program. The bytes come from files we
// do not control, so every size is checked against the bytes at hand before
// anything is allocated.
#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace vlr {

// Largest bitmap accepted: a strip is one row of pictures, so the height stays
// small while the width grows with the number of pictures; the pixel cap keeps
// the decoded image at 64 MB whatever the header claims.
inline constexpr int kBmpMaxHeight = 1024;
inline constexpr int kBmpMaxWidth = 1024 * 16384;
inline constexpr qint64 kBmpMaxPixels = qint64(1) << 24;

struct BmpDecodeResult {
    // Opaque RGB32 pixels, top row first. A bitmap of width 0 (an empty strip)
    // gives a null image with ok set.
    QImage image;
    int width = 0;
    int height = 0;
    bool ok = false;
    QString error;
};

// Reads the BMP file image at the start of the bytes; bytes after the pixel
// data are ignored. Supports the core (12-byte) and the 40/52/56/108/124-byte
// info headers; 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed, bit
// fields, RLE8 and RLE4; bottom-up and top-down rows. Alpha is ignored: the
// format's transparency is a key colour, applied by the caller. Pixels that
// an RLE bitmap skips come out as fuchsia (255, 0, 255), the key colour.
BmpDecodeResult decodeBmp(QByteArrayView bytes);

} // namespace vlr
