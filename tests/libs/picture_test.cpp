// LoadPictureFromFile2: decoded pictures come back pixel for pixel; files
// that are no pictures give a null image.
#include "library_fixture.h"

#include <QFile>
#include <QTemporaryDir>

namespace vlr {
namespace {

using test::LibsExtTest;

QImage sampleImage(QImage::Format format) {
    QImage image(5, 3, format);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(
                x, y,
                qRgba(40 * x, 80 * y, 200 - 30 * x, format == QImage::Format_ARGB32 ? 60 + 40 * y : 255));
    return image;
}

void expectSamePixels(const QImage& loaded, const QImage& original) {
    ASSERT_FALSE(loaded.isNull());
    ASSERT_EQ(loaded.size(), original.size());
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x)
            EXPECT_EQ(loaded.pixel(x, y), original.pixel(x, y)) << x << "," << y;
}

TEST_F(LibsExtTest, PicturesLoadPixelForPixel) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage indexed(4, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 255), qRgb(10, 20, 30)});
    indexed.fill(0);
    indexed.setPixel(1, 1, 1);
    const struct {
        const char* file;
        const char* format;
        QImage image;
    } cases[] = {
        {"alpha.png", "PNG", sampleImage(QImage::Format_ARGB32)},
        {"plain.bmp", "BMP", sampleImage(QImage::Format_RGB32)},
        {"palette.png", "PNG", indexed},
        {"картинка.png", "PNG", sampleImage(QImage::Format_RGB32)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = dir.filePath(QString::fromUtf8(c.file));
        ASSERT_TRUE(c.image.save(path, c.format));
        const QImage loaded = ext().LoadPictureFromFile2(path);
        expectSamePixels(loaded, c.image);
        EXPECT_EQ(loaded.colorCount(), 0); // no palette crosses the boundary
    }
}

TEST_F(LibsExtTest, NonPicturesGiveANullImage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString text = dir.filePath(QStringLiteral("note.png"));
    ASSERT_TRUE(test::writeFile(text, "just some text, not a picture"));
    QFile cut(dir.filePath(QStringLiteral("cut.png")));
    ASSERT_TRUE(sampleImage(QImage::Format_RGB32).save(cut.fileName(), "PNG"));
    ASSERT_TRUE(cut.resize(cut.size() / 2));

    for (const QString& path :
         {text, cut.fileName(), dir.filePath(QStringLiteral("missing.png")), dir.path()}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_TRUE(ext().LoadPictureFromFile2(path).isNull());
    }
    // The library is still usable afterwards.
    const QString good = dir.filePath(QStringLiteral("good.png"));
    ASSERT_TRUE(sampleImage(QImage::Format_RGB32).save(good, "PNG"));
    EXPECT_FALSE(ext().LoadPictureFromFile2(good).isNull());
}

} // namespace
} // namespace vlr
