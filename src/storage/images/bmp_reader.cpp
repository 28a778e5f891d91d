#include "storage/images/bmp_reader.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>

namespace vlr {

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr quint32 kBiRgb = 0;
constexpr quint32 kBiRle8 = 1;
constexpr quint32 kBiRle4 = 2;
constexpr quint32 kBiBitfields = 3;
constexpr QRgb kKeyColour = 0xFFFF00FF;

quint16 u16(const char* p) {
    return qFromLittleEndian<quint16>(p);
}
quint32 u32(const char* p) {
    return qFromLittleEndian<quint32>(p);
}
qint32 i32(const char* p) {
    return qFromLittleEndian<qint32>(p);
}

// One colour channel described by a bit mask (16- and 32-bit pixels).
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    quint32 max = 0;

    explicit Channel(quint32 m = 0) : mask(m) {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        max = mask >> shift;
    }
    int value(quint32 pixel) const {
        if (max == 0)
            return 0;
        return int((quint64((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
};

struct Header {
    qint64 width = 0;
    qint64 height = 0; // negative: rows stored top-down
    int bitCount = 0;
    quint32 compression = kBiRgb;
    quint32 pixelOffset = 0;
    qsizetype paletteStart = 0;
    int paletteEntrySize = 4;
    quint32 colorsUsed = 0;
    std::array<quint32, 3> masks{};
};

BmpDecodeResult failure(const QString& error) {
    BmpDecodeResult r;
    r.error = error;
    return r;
}

// Reads the file and info headers; returns an error text or an empty string.
QString readHeader(QByteArrayView bytes, Header& h) {
    if (bytes.size() < kFileHeaderSize + 4)
        return QStringLiteral("the bitmap header is truncated");
    const char* d = bytes.data();
    if (d[0] != 'B' || d[1] != 'M')
        return QStringLiteral("not a BMP file image (no \"BM\" mark)");
    h.pixelOffset = u32(d + 10);
    const quint32 infoSize = u32(d + kFileHeaderSize);
    const char* info = d + kFileHeaderSize;
    if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 &&
        infoSize != 124)
        return QStringLiteral("unsupported bitmap info header of %1 bytes").arg(infoSize);
    if (bytes.size() < kFileHeaderSize + qsizetype(infoSize))
        return QStringLiteral("the bitmap info header is truncated");
    h.paletteStart = kFileHeaderSize + infoSize;
    if (infoSize == 12) {
        h.width = u16(info + 4);
        h.height = u16(info + 6);
        h.bitCount = u16(info + 10);
        h.paletteEntrySize = 3;
    } else {
        h.width = i32(info + 4);
        h.height = i32(info + 8);
        h.bitCount = u16(info + 14);
        h.compression = u32(info + 16);
        h.colorsUsed = u32(info + 32);
        if (h.compression == kBiBitfields) {
            if (infoSize == 40) {
                // The three masks follow a plain info header.
                if (bytes.size() < h.paletteStart + 12)
                    return QStringLiteral("the bitmap colour masks are truncated");
                h.paletteStart += 12;
            }
            h.masks = {u32(info + 40), u32(info + 44), u32(info + 48)};
        }
    }

    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return QStringLiteral("unsupported colour depth of %1 bits per pixel").arg(h.bitCount);
    }
    const bool compressionFits = h.compression == kBiRgb || (h.compression == kBiRle8 && h.bitCount == 8) ||
                                 (h.compression == kBiRle4 && h.bitCount == 4) ||
                                 (h.compression == kBiBitfields && (h.bitCount == 16 || h.bitCount == 32));
    if (!compressionFits)
        return QStringLiteral("unsupported compression %1 for %2 bits per pixel")
            .arg(h.compression)
            .arg(h.bitCount);

    if (h.width < 0 || h.width > kBmpMaxWidth)
        return QStringLiteral("bitmap width %1 is out of range").arg(h.width);
    if (h.height == 0 || h.height < -kBmpMaxHeight || h.height > kBmpMaxHeight)
        return QStringLiteral("bitmap height %1 is out of range").arg(h.height);
    if (h.height < 0 && (h.compression == kBiRle8 || h.compression == kBiRle4))
        return QStringLiteral("a compressed bitmap cannot be stored top-down");
    if (h.width * std::abs(h.height) > kBmpMaxPixels)
        return QStringLiteral("bitmap of %1 x %2 pixels is too large").arg(h.width).arg(std::abs(h.height));
    if (h.pixelOffset < quint32(h.paletteStart) || h.pixelOffset > quint64(bytes.size()))
        return QStringLiteral(
                   "bitmap pixel data offset %1 is not between the headers and the end of the file")
            .arg(h.pixelOffset);
    return {};
}

// The colour table of a 1/4/8-bit bitmap; indexes beyond it read as black.
// readHeader has checked that the pixel offset lies after the table's start.
void readPalette(QByteArrayView bytes, const Header& h, std::array<QRgb, 256>& palette) {
    palette.fill(0xFF000000);
    if (h.bitCount > 8)
        return;
    const quint32 maxEntries = 1u << h.bitCount;
    quint32 entries = h.colorsUsed == 0 ? maxEntries : std::min(h.colorsUsed, maxEntries);
    // Writers of the core form often store only the colours in use: the
    // table then ends where the pixels begin.
    entries = std::min<quint32>(entries, (h.pixelOffset - quint32(h.paletteStart)) / h.paletteEntrySize);
    const auto* p = reinterpret_cast<const uchar*>(bytes.data()) + h.paletteStart;
    for (quint32 i = 0; i < entries; ++i, p += h.paletteEntrySize)
        palette[i] = qRgb(p[2], p[1], p[0]);
}

void decodeRow(const uchar* src, QRgb* dst, int width, const Header& h, const std::array<QRgb, 256>& palette,
               const std::array<Channel, 3>& channels) {
    switch (h.bitCount) {
    case 1:
        for (int x = 0; x < width; ++x)
            dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
        break;
    case 4:
        for (int x = 0; x < width; ++x)
            dst[x] = palette[(x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4)];
        break;
    case 8:
        for (int x = 0; x < width; ++x)
            dst[x] = palette[src[x]];
        break;
    case 16:
        for (int x = 0; x < width; ++x) {
            const quint32 px = src[2 * x] | (src[2 * x + 1] << 8);
            dst[x] = qRgb(channels[0].value(px), channels[1].value(px), channels[2].value(px));
        }
        break;
    case 24:
        for (int x = 0; x < width; ++x)
            dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        break;
    case 32:
        for (int x = 0; x < width; ++x) {
            const quint32 px = qFromLittleEndian<quint32>(src + 4 * x);
            dst[x] = qRgb(channels[0].value(px), channels[1].value(px), channels[2].value(px));
        }
        break;
    }
}

QString decodeUncompressed(QByteArrayView bytes, const Header& h, const std::array<QRgb, 256>& palette,
                           QImage& image) {
    const qint64 stride = ((h.width * h.bitCount + 31) / 32) * 4;
    const qint64 rows = std::abs(h.height);
    const qint64 need = stride * rows;
    if (h.pixelOffset + need > bytes.size())
        return QStringLiteral("the bitmap pixel data is truncated (%1 bytes needed, %2 present)")
            .arg(need)
            .arg(bytes.size() - qint64(h.pixelOffset));

    std::array<Channel, 3> channels;
    if (h.compression == kBiBitfields)
        channels = {Channel(h.masks[0]), Channel(h.masks[1]), Channel(h.masks[2])};
    else if (h.bitCount == 16)
        channels = {Channel(0x7C00), Channel(0x03E0), Channel(0x001F)};
    else
        channels = {Channel(0xFF0000), Channel(0x00FF00), Channel(0x0000FF)};

    const auto* base = reinterpret_cast<const uchar*>(bytes.data()) + h.pixelOffset;
    const bool bottomUp = h.height > 0;
    for (qint64 r = 0; r < rows; ++r) {
        const int y = int(bottomUp ? rows - 1 - r : r);
        decodeRow(base + r * stride, reinterpret_cast<QRgb*>(image.scanLine(y)), int(h.width), h, palette,
                  channels);
    }
    return {};
}

// Run-length encoded 8- and 4-bit bitmaps (always bottom-up). Runs that pass
// the right edge are clipped; every step consumes input, so the loop ends.
QString decodeRle(QByteArrayView bytes, const Header& h, const std::array<QRgb, 256>& palette,
                  QImage& image) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data()) + h.pixelOffset;
    const auto* end = reinterpret_cast<const uchar*>(bytes.data()) + bytes.size();
    const qint64 width = h.width;
    const qint64 height = h.height;
    const bool four = h.compression == kBiRle4;
    qint64 x = 0;
    qint64 y = 0; // counted from the bottom row
    image.fill(kKeyColour);

    auto put = [&](qint64 count, auto indexAt) {
        if (y < height && x < width) {
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(int(height - 1 - y)));
            const qint64 n = std::min(count, width - x);
            for (qint64 i = 0; i < n; ++i)
                row[x + i] = palette[indexAt(i)];
        }
        x += count;
    };

    for (;;) {
        if (end - p < 2) {
            if (y >= height)
                return {};
            return QStringLiteral("the compressed bitmap data ends before the end-of-bitmap mark");
        }
        const int count = p[0];
        const int code = p[1];
        p += 2;
        if (count > 0) {
            if (four)
                put(count, [code](qint64 i) { return (i & 1) ? (code & 0x0F) : (code >> 4); });
            else
                put(count, [code](qint64) { return code; });
        } else if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            return {};
        } else if (code == 2) {
            if (end - p < 2)
                return QStringLiteral("the compressed bitmap data is truncated");
            x += p[0];
            y += p[1];
            p += 2;
        } else {
            const qint64 dataBytes = four ? (code + 1) / 2 : code;
            const qint64 padded = (dataBytes + 1) & ~qint64(1);
            if (end - p < dataBytes)
                return QStringLiteral("the compressed bitmap data is truncated");
            const uchar* src = p;
            if (four)
                put(code, [src](qint64 i) { return (i & 1) ? (src[i >> 1] & 0x0F) : (src[i >> 1] >> 4); });
            else
                put(code, [src](qint64 i) { return int(src[i]); });
            p += std::min<qint64>(padded, end - p);
        }
    }
}

} // namespace

BmpDecodeResult decodeBmp(QByteArrayView bytes) {
    Header h;
    if (QString error = readHeader(bytes, h); !error.isEmpty())
        return failure(error);
    std::array<QRgb, 256> palette;
    readPalette(bytes, h, palette);

    BmpDecodeResult result;
    result.width = int(h.width);
    result.height = int(std::abs(h.height));
    if (h.width == 0) {
        result.ok = true;
        return result;
    }
    QImage image(result.width, result.height, QImage::Format_RGB32);
    if (image.isNull())
        return failure(QStringLiteral("not enough memory for a bitmap of %1 x %2 pixels")
                           .arg(result.width)
                           .arg(result.height));
    const QString error = (h.compression == kBiRle8 || h.compression == kBiRle4)
                              ? decodeRle(bytes, h, palette, image)
                              : decodeUncompressed(bytes, h, palette, image);
    if (!error.isEmpty())
        return failure(error);
    result.image = image;
    result.ok = true;
    return result;
}

} // namespace vlr
