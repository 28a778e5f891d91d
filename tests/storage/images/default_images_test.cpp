#include "storage/images/default_images.h"

#include <gtest/gtest.h>

using namespace vlr;

TEST(DefaultImages, TwentyFourOrMoreDistinctVisiblePictures) {
    const TMyImageList list = defaultImages();
    EXPECT_GE(list.Count(), 24);
    EXPECT_EQ(defaultImageNames().size(), list.Count());
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.Height(), 16);
    for (int i = 0; i < list.Count(); ++i) {
        SCOPED_TRACE(qPrintable(defaultImageNames().at(i)));
        // Each has a drawing and some transparent background.
        const QImage image = list.image(i);
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                opaque += qAlpha(image.pixel(x, y)) == 255;
        EXPECT_GT(opaque, 40);
        EXPECT_LT(opaque, 256);
        for (int j = 0; j < i; ++j)
            EXPECT_NE(image, list.image(j)) << "same as " << qPrintable(defaultImageNames().at(j));
    }

    TMyImageList back;
    ASSERT_TRUE(back.loadStrip(list.saveStrip()));
    EXPECT_EQ(back, list);
}
