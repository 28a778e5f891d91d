#include "bmp_fixtures.h"

#include <QtEndian>

namespace vlr::test {

void poke32(QByteArray& bytes, int offset, quint32 value) {
    qToLittleEndian(value, bytes.data() + offset);
}
void poke16(QByteArray& bytes, int offset, quint16 value) {
    qToLittleEndian(value, bytes.data() + offset);
}

QImage colourPattern(int width, int height, int colours) {
    static const QRgb kColours[] = {qRgb(255, 0, 255), qRgb(255, 0, 0),     qRgb(0, 255, 0),
                                    qRgb(0, 0, 255),   qRgb(255, 255, 255), qRgb(0, 0, 0),
                                    qRgb(255, 255, 0), qRgb(0, 255, 255)};
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, kColours[(x + 3 * y) % colours]);
    return image;
}

namespace {

QByteArray headers(int infoSize, int width, int height, int bitCount, quint32 compression,
                   const QList<QRgb>& palette, const QList<quint32>& masks, qsizetype pixelBytes) {
    const bool core = infoSize == 12;
    const int entry = core ? 3 : 4;
    const int masksAfter = (infoSize == 40 && !masks.isEmpty()) ? 12 : 0;
    const int offset = 14 + infoSize + masksAfter + int(palette.size()) * entry;
    QByteArray out(offset, '\0');
    out[0] = 'B';
    out[1] = 'M';
    poke32(out, 2, quint32(offset + pixelBytes));
    poke32(out, 10, quint32(offset));
    poke32(out, 14, quint32(infoSize));
    if (core) {
        poke16(out, 18, quint16(width));
        poke16(out, 20, quint16(height));
        poke16(out, 22, 1);
        poke16(out, 24, quint16(bitCount));
    } else {
        poke32(out, 18, quint32(width));
        poke32(out, 22, quint32(height));
        poke16(out, 26, 1);
        poke16(out, 28, quint16(bitCount));
        poke32(out, 30, compression);
        poke32(out, 34, quint32(pixelBytes));
        poke32(out, 46, quint32(palette.size()));
        for (int i = 0; i < masks.size(); ++i)
            poke32(out, 54 + 4 * i, masks[i]);
    }
    char* p = out.data() + 14 + infoSize + masksAfter;
    for (QRgb c : palette) {
        p[0] = char(qBlue(c));
        p[1] = char(qGreen(c));
        p[2] = char(qRed(c));
        p += entry;
    }
    return out;
}

} // namespace

QByteArray wrapBmp(int width, int height, int bitCount, quint32 compression, const QList<QRgb>& palette,
                   const QByteArray& pixels) {
    return headers(40, width, height, bitCount, compression, palette, {}, pixels.size()) + pixels;
}

QByteArray makeBmp(const QImage& source, const BmpFixture& form) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    QList<QRgb> palette;
    if (form.bitCount <= 8) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (!palette.contains(image.pixel(x, y) | 0xFF000000))
                    palette.append(image.pixel(x, y) | 0xFF000000);
        Q_ASSERT(palette.size() <= (1 << form.bitCount));
    }
    QList<quint32> masks;
    if (form.bitfields)
        masks = form.bitCount == 16 ? QList<quint32>{0xF800, 0x07E0, 0x001F}
                                    : QList<quint32>{0x00FF0000, 0x0000FF00, 0x000000FF};

    const int stride = ((w * form.bitCount + 31) / 32) * 4;
    QByteArray pixels(qsizetype(stride) * h, '\0');
    for (int r = 0; r < h; ++r) {
        const int y = form.topDown ? r : h - 1 - r;
        auto* row = reinterpret_cast<uchar*>(pixels.data()) + qsizetype(r) * stride;
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(x, y) | 0xFF000000;
            switch (form.bitCount) {
            case 1:
                row[x / 8] |= uchar(palette.indexOf(c) << (7 - x % 8));
                break;
            case 4:
                row[x / 2] |= uchar(palette.indexOf(c) << (x % 2 ? 0 : 4));
                break;
            case 8:
                row[x] = uchar(palette.indexOf(c));
                break;
            case 16: {
                const quint16 v =
                    form.bitfields
                        ? quint16(((qRed(c) >> 3) << 11) | ((qGreen(c) >> 2) << 5) | (qBlue(c) >> 3))
                        : quint16(((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3));
                qToLittleEndian(v, row + 2 * x);
                break;
            }
            case 24:
                row[3 * x] = uchar(qBlue(c));
                row[3 * x + 1] = uchar(qGreen(c));
                row[3 * x + 2] = uchar(qRed(c));
                break;
            case 32:
                qToLittleEndian(quint32(c & 0xFFFFFF), row + 4 * x);
                break;
            }
        }
    }
    const quint32 compression = form.bitfields ? 3 : 0;
    return headers(form.infoSize, w, form.topDown ? -h : h, form.bitCount, compression, palette, masks,
                   pixels.size()) +
           pixels;
}

std::vector<Hostile> hostileBitmaps() {
    const QByteArray good = makeBmp(colourPattern(8, 4, 8), {}); // 24-bit, 40-byte info header
    const QByteArray good8 = makeBmp(colourPattern(8, 4, 8), {40, 8, false, false});
    auto patched = [good](int offset, quint32 value) {
        return [good, offset, value] {
            QByteArray b = good;
            poke32(b, offset, value);
            return b;
        };
    };
    return {
        {"empty", [] { return QByteArray(); }},
        {"file header only", [good] { return good.left(14); }},
        {"info header cut", [good] { return good.left(30); }},
        {"wrong magic",
         [good] {
             QByteArray b = good;
             b[1] = 'X';
             return b;
         }},
        {"PNG bytes", [] { return QByteArray("\x89PNG\r\n\x1a\n0000000000000000000000000000", 36); }},
        {"unknown info header size", patched(14, 20)},
        {"info header size huge", patched(14, 0xFFFFFFF0)},
        {"7 bits per pixel",
         [good] {
             QByteArray b = good;
             poke16(b, 28, 7);
             return b;
         }},
        {"RLE8 on 24 bits", patched(30, 1)},
        {"unknown compression", patched(30, 4)},
        {"negative width", patched(18, quint32(-8))},
        {"zero height", patched(22, 0)},
        {"most negative height", patched(22, 0x80000000)},
        {"height above limit", patched(22, 1025)},
        {"width above limit", patched(18, 0x40000000)},
        {"too many pixels",
         [good] {
             QByteArray b = good;
             poke32(b, 18, 1 << 20);
             poke32(b, 22, 1024);
             return b;
         }},
        {"pixel offset beyond the file", patched(10, 1 << 30)},
        {"pixel offset inside the header", patched(10, 20)},
        {"pixel data one byte short", [good] { return good.left(good.size() - 1); }},
        {"width larger than the pixels", patched(18, 9)},
        {"cut inside the colour table", [good8] { return good8.left(54 + 10); }},
        {"masks cut",
         [] {
             return makeBmp(colourPattern(2, 1, 2), {40, 32, false, true}).left(60);
         }},
        {"RLE ends before its end",
         [] { return wrapBmp(4, 2, 8, 1, {qRgb(255, 0, 0)}, QByteArray::fromHex("04000000")); }},
        {"RLE absolute block cut",
         [] { return wrapBmp(4, 1, 8, 1, {qRgb(255, 0, 0)}, QByteArray::fromHex("0004000000")); }},
        {"RLE delta cut",
         [] { return wrapBmp(4, 1, 8, 1, {qRgb(255, 0, 0)}, QByteArray::fromHex("000201")); }},
        {"RLE stored top-down",
         [] { return wrapBmp(4, -1, 8, 1, {qRgb(255, 0, 0)}, QByteArray::fromHex("04000001")); }},
    };
}

} // namespace vlr::test
