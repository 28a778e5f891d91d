#pragma once
// Decoding picture bytes with a cap on what a damaged header may make us allocate.
#include <QByteArray>
#include <QImage>

namespace vlr::rtf {

// No picture is decoded or drawn larger than this many pixels a side.
constexpr int kMaxPictureSide = 8192;

// PNG, JPEG and the like; null beyond 8192 pixels a side or maxPixels in all.
QImage readImage(const QByteArray& bytes, const char* format, qint64 maxPixels);

// A device-independent bitmap: a BMP file without its 14-byte file header.
QImage readDib(const QByteArray& dib, qint64 maxPixels);

} // namespace vlr::rtf
