#include "bmp_fixtures.h"
#include "storage/images/image_list.h"

#include <QPainter>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace vlr;
using namespace vlr::test;

namespace {

constexpr QRgb kKey = TMyImageList::kKeyColour;

// A 16 x 16 picture on the key colour with a coloured square whose place and
// colour depend on the seed, so that every seed gives another picture.
QImage picture(int seed) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(kKey);
    const int x = seed % 12;
    const int y = (seed / 12) % 12;
    image.setPixel(15 - x, y, qRgb(0, 0, 0));
    QPainter p(&image);
    p.fillRect(x, y, 4, 4, QColor::fromHsv((seed * 37) % 360, 255, 200));
    return image;
}

TMyImageList listOf(int count) {
    TMyImageList list;
    for (int i = 0; i < count; ++i)
        list.Add(picture(i));
    return list;
}

bool transparentAt(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y)) == 0;
}

} // namespace

TEST(ImageList, StripRoundTripKeepsPicturesAndTransparency) {
    for (int count : {0, 1, 30}) {
        SCOPED_TRACE(count);
        const TMyImageList list = listOf(count);
        const QByteArray strip = list.saveStrip();
        // A standard 24-bit BMP, one row of cells.
        ASSERT_GE(strip.size(), 54);
        EXPECT_TRUE(strip.startsWith("BM"));
        EXPECT_EQ(qFromLittleEndian<qint32>(strip.constData() + 18), count * 16);
        EXPECT_EQ(qFromLittleEndian<qint32>(strip.constData() + 22), 16);
        EXPECT_EQ(qFromLittleEndian<quint16>(strip.constData() + 28), 24);

        TMyImageList back(16, 16);
        back.Add(picture(99)); // replaced by the load
        QString error;
        ASSERT_TRUE(back.loadStrip(strip, &error)) << qPrintable(error);
        EXPECT_EQ(back, list);
        if (count > 0) {
            EXPECT_TRUE(transparentAt(back.image(0), 15, 15));
            EXPECT_FALSE(transparentAt(back.image(0), 0, 0));
            // Another decoder reads the strip the same way.
            const QImage other = QImage::fromData(strip, "BMP").convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(other.size(), QSize(count * 16, 16));
            EXPECT_EQ(other.pixel(count * 16 - 1, 15), kKey);
            EXPECT_EQ(other.copy(16 * (count - 1), 0, 16, 16), back.imageOnKey(count - 1));
        }
    }
}

TEST(ImageList, LoadCutsCellsFromTheLeftAndPadsWithTransparency) {
    // 40 x 20 opaque red strip with one key pixel: three 16 x 16 cells, the
    // last one 8 columns wide; rows below 16 are dropped.
    QImage strip(40, 20, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 0));
    strip.setPixel(17, 1, kKey);
    strip.setPixel(0, 19, qRgb(0, 255, 0));
    TMyImageList list;
    ASSERT_TRUE(list.loadStrip(makeBmp(strip, {40, 8, false, false})));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_TRUE(transparentAt(list.image(1), 1, 1));
    EXPECT_EQ(list.image(1).pixel(2, 1), qRgba(255, 0, 0, 255));
    EXPECT_FALSE(transparentAt(list.image(2), 7, 0));
    EXPECT_TRUE(transparentAt(list.image(2), 8, 0));

    // A bitmap lower than the cells leaves their bottom transparent.
    TMyImageList tall(16, 24);
    ASSERT_TRUE(tall.loadStrip(makeBmp(strip, {})));
    EXPECT_FALSE(transparentAt(tall.image(0), 0, 19));
    EXPECT_TRUE(transparentAt(tall.image(0), 0, 20));
}

TEST(ImageList, OnlyTheExactKeyColourIsTransparent) {
    QImage strip(3, 16, QImage::Format_RGB32);
    strip.fill(kKey);
    strip.setPixel(1, 0, qRgb(254, 0, 255));
    strip.setPixel(2, 0, qRgb(255, 1, 255));
    TMyImageList list;
    ASSERT_TRUE(list.loadStrip(makeBmp(strip, {})));
    const QImage cell = list.image(0);
    EXPECT_TRUE(transparentAt(cell, 0, 0));
    EXPECT_EQ(cell.pixel(1, 0), qRgba(254, 0, 255, 255));
    EXPECT_EQ(cell.pixel(2, 0), qRgba(255, 1, 255, 255));
}

TEST(ImageList, RefusesHostileStripsAndStaysUnchanged) {
    const TMyImageList before = listOf(3);
    for (const Hostile& h : hostileBitmaps()) {
        SCOPED_TRACE(h.name);
        TMyImageList list = before;
        QString error;
        EXPECT_FALSE(list.loadStrip(h.make(), &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(list, before);
    }
    // More cells than the list can hold: a 1-pixel-high strip of 17 cells of
    // 1024 x 1024.
    TMyImageList big(1024, 1024);
    QImage strip(1024 * 17, 1, QImage::Format_RGB32);
    strip.fill(qRgb(0, 0, 0));
    QString error;
    EXPECT_FALSE(big.loadStrip(makeBmp(strip, {40, 1, false, false}), &error));
    EXPECT_EQ(big.Count(), 0);
    EXPECT_FALSE(error.isEmpty());
}

TEST(ImageList, AddFitsPicturesIntoACell) {
    TMyImageList list;
    // Larger: scaled down keeping proportions (32 x 16 -> 16 x 8, centred).
    QImage wide(32, 16, QImage::Format_RGB32);
    wide.fill(qRgb(0, 0, 255));
    EXPECT_EQ(list.Add(wide), 0);
    EXPECT_TRUE(transparentAt(list.image(0), 8, 2));
    EXPECT_EQ(list.image(0).pixel(8, 8), qRgba(0, 0, 255, 255));
    // Smaller: centred, the rest transparent.
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(qRgb(0, 128, 0));
    EXPECT_EQ(list.Add(small), 1);
    EXPECT_EQ(list.image(1).pixel(6, 6), qRgba(0, 128, 0, 255));
    EXPECT_TRUE(transparentAt(list.image(1), 5, 5));
    // Alpha below one half becomes transparent, the rest opaque; the key
    // colour is transparent whatever the alpha.
    QImage alpha(16, 16, QImage::Format_ARGB32);
    alpha.fill(qRgba(10, 20, 30, 200));
    alpha.setPixel(0, 0, qRgba(10, 20, 30, 100));
    alpha.setPixel(1, 0, qRgba(255, 0, 255, 255));
    EXPECT_EQ(list.Add(alpha), 2);
    EXPECT_EQ(list.image(2).pixel(5, 5), qRgba(10, 20, 30, 255));
    EXPECT_TRUE(transparentAt(list.image(2), 0, 0));
    EXPECT_TRUE(transparentAt(list.image(2), 1, 0));
    EXPECT_EQ(list.Add(QImage()), 3);
    EXPECT_EQ(list.image(3).size(), QSize(16, 16));
    EXPECT_EQ(list.imageOnKey(3).pixel(7, 7), kKey);
}

TEST(ImageList, EditingByIndex) {
    TMyImageList list = listOf(4);
    const TMyImageList original = list;
    // Out of range: refused, nothing changes.
    EXPECT_FALSE(list.Replace(4, picture(50)));
    EXPECT_FALSE(list.Replace(-1, picture(50)));
    EXPECT_FALSE(list.Delete(4));
    EXPECT_FALSE(list.Insert(5, picture(50)));
    EXPECT_FALSE(list.Move(0, 4));
    EXPECT_TRUE(list.image(4).isNull());
    EXPECT_TRUE(list.image(-1).isNull());
    EXPECT_EQ(list, original);

    EXPECT_TRUE(list.Move(0, 2)); // 1 2 0 3
    EXPECT_EQ(list.image(2), original.image(0));
    EXPECT_EQ(list.image(0), original.image(1));
    EXPECT_TRUE(list.Delete(0));              // 2 0 3
    EXPECT_TRUE(list.Insert(3, picture(7)));  // 2 0 3 p7
    EXPECT_TRUE(list.Replace(0, picture(8))); // p8 0 3 p7
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.IndexOf(picture(7)), 3);
    EXPECT_EQ(list.IndexOf(picture(8)), 0);
    EXPECT_EQ(list.IndexOf(picture(0)), 1);
    EXPECT_EQ(list.IndexOf(picture(2)), -1);

    TMyImageList copy(32, 32);
    copy.Assign(list);
    EXPECT_EQ(copy, list);
    EXPECT_EQ(copy.Width(), 16);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(copy.Count(), 4);
    EXPECT_FALSE(TMyImageList(16, 16) == TMyImageList(16, 24));
}
