#pragma once
// Encoding of images as Windows BMP file images, the form the picture strip
// takes inside a notebook file.
#include <QByteArray>
#include <QImage>

namespace vlr {

// Writes a 24-bit, uncompressed, bottom-up BMP (14-byte file header and
// 40-byte info header, no colour table): the form every BMP reader accepts.
// Alpha is dropped; callers paint transparent pixels in their key colour
// first. A null image of the given height gives a header-only bitmap of width
// 0, which decodeBmp reads back as an empty strip.
QByteArray encodeBmp24(const QImage& image, int emptyHeight = 0);

} // namespace vlr
