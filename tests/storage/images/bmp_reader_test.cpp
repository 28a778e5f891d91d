#include "bmp_fixtures.h"
#include "storage/images/bmp_reader.h"

#include <gtest/gtest.h>

using namespace vlr;
using namespace vlr::test;

namespace {

const QRgb F = qRgb(255, 0, 255);
const QRgb R = qRgb(255, 0, 0);
const QRgb G = qRgb(0, 255, 0);
const QRgb B = qRgb(0, 0, 255);

QImage rows(int width, const QList<QList<QRgb>>& pixels) {
    QImage image(width, int(pixels.size()), QImage::Format_RGB32);
    for (int y = 0; y < pixels.size(); ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, pixels[y][x]);
    return image;
}

struct Variant {
    const char* name;
    BmpFixture form;
    int colours;
};

} // namespace

TEST(BmpReader, DecodesEveryDepthAndRowOrder) {
    const Variant variants[] = {
        {"1-bit", {40, 1, false, false}, 2},
        {"4-bit", {40, 4, false, false}, 8},
        {"8-bit palette", {40, 8, false, false}, 8},
        {"8-bit top-down", {40, 8, true, false}, 8},
        {"8-bit core header", {12, 8, false, false}, 8},
        {"16-bit 555", {40, 16, false, false}, 8},
        {"16-bit 565 masks", {40, 16, false, true}, 8},
        {"24-bit bottom-up", {40, 24, false, false}, 8},
        {"24-bit core header", {12, 24, false, false}, 8},
        {"24-bit v5 header top-down", {124, 24, true, false}, 8},
        {"32-bit top-down", {40, 32, true, false}, 8},
        {"32-bit masks v4 header", {108, 32, false, true}, 8},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        // Odd widths make every row padded.
        const QImage expected = colourPattern(7, 3, v.colours);
        const BmpDecodeResult r = decodeBmp(makeBmp(expected, v.form));
        ASSERT_TRUE(r.ok) << qPrintable(r.error);
        EXPECT_EQ(r.width, 7);
        EXPECT_EQ(r.height, 3);
        EXPECT_EQ(r.image, expected);
    }
}

TEST(BmpReader, IgnoresBytesAfterThePixels) {
    const QImage expected = colourPattern(4, 2, 8);
    const BmpDecodeResult r = decodeBmp(makeBmp(expected, {}) + QByteArray(100, '\x55'));
    ASSERT_TRUE(r.ok) << qPrintable(r.error);
    EXPECT_EQ(r.image, expected);
}

TEST(BmpReader, DecodesRunLengthEncodedBitmaps) {
    // RLE8, bottom row first: a run, an absolute block with its pad byte, an
    // end of line, a delta that skips a whole row, a clipped run, end of bitmap.
    const QByteArray rle8 = QByteArray::fromHex("0300"
                                                "000301020100"
                                                "0000"
                                                "00020201"
                                                "0202"
                                                "0900"
                                                "0001");
    BmpDecodeResult r = decodeBmp(wrapBmp(6, 3, 8, 1, {R, G, B}, rle8));
    ASSERT_TRUE(r.ok) << qPrintable(r.error);
    EXPECT_EQ(r.image, rows(6, {{F, F, B, B, R, R}, {F, F, F, F, F, F}, {R, R, R, G, B, G}}));

    // RLE4: a run alternates the two nibbles; absolute nibbles are padded to
    // a word; the rest of the top row is skipped by the end of bitmap.
    const QByteArray rle4 = QByteArray::fromHex("0501"
                                                "0000"
                                                "000312000001");
    r = decodeBmp(wrapBmp(5, 2, 4, 2, {R, G, B}, rle4));
    ASSERT_TRUE(r.ok) << qPrintable(r.error);
    EXPECT_EQ(r.image, rows(5, {{G, B, R, F, F}, {R, G, R, G, R}}));
}

TEST(BmpReader, EmptyStripHasWidthZero) {
    const BmpDecodeResult r = decodeBmp(wrapBmp(0, 16, 24, 0, {}, {}));
    ASSERT_TRUE(r.ok) << qPrintable(r.error);
    EXPECT_TRUE(r.image.isNull());
    EXPECT_EQ(r.width, 0);
    EXPECT_EQ(r.height, 16);
}

TEST(BmpReader, RefusesHostileHeaders) {
    for (const Hostile& h : hostileBitmaps()) {
        SCOPED_TRACE(h.name);
        const BmpDecodeResult r = decodeBmp(h.make());
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.isEmpty());
        EXPECT_TRUE(r.image.isNull());
    }
}
