#include "storage/images/bmp_writer.h"

#include <QtEndian>

namespace vlr {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kPixelsPerMetre = 3780; // 96 dots per inch

void put16(char* p, quint16 v) {
    qToLittleEndian(v, p);
}
void put32(char* p, quint32 v) {
    qToLittleEndian(v, p);
}

} // namespace

QByteArray encodeBmp24(const QImage& image, int emptyHeight) {
    const QImage rgb = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.isNull() ? 0 : rgb.width();
    const int height = rgb.isNull() ? emptyHeight : rgb.height();
    const qint64 stride = ((qint64(width) * 24 + 31) / 32) * 4;
    const qint64 pixelBytes = stride * height;
    const qint64 total = kFileHeaderSize + kInfoHeaderSize + pixelBytes;

    QByteArray out(total, '\0');
    char* d = out.data();
    d[0] = 'B';
    d[1] = 'M';
    put32(d + 2, quint32(total));
    put32(d + 10, kFileHeaderSize + kInfoHeaderSize);
    char* info = d + kFileHeaderSize;
    put32(info, kInfoHeaderSize);
    put32(info + 4, quint32(width));
    put32(info + 8, quint32(height));
    put16(info + 12, 1);
    put16(info + 14, 24);
    put32(info + 16, 0);
    put32(info + 20, quint32(pixelBytes));
    put32(info + 24, kPixelsPerMetre);
    put32(info + 28, kPixelsPerMetre);

    uchar* pixels = reinterpret_cast<uchar*>(d) + kFileHeaderSize + kInfoHeaderSize;
    for (int r = 0; r < height && width > 0; ++r) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(height - 1 - r));
        uchar* dst = pixels + r * stride;
        for (int x = 0; x < width; ++x) {
            dst[3 * x] = uchar(qBlue(src[x]));
            dst[3 * x + 1] = uchar(qGreen(src[x]));
            dst[3 * x + 2] = uchar(qRed(src[x]));
        }
    }
    return out;
}

} // namespace vlr
