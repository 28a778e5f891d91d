#include "app/startup/engine_check.h"
#include "app/startup/splash.h"

#include "libs/vlrlib.h"
#include "support/scripted_messages.h"
#include "support/test_paths.h"

#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace vlr;

TEST(Splash, BorderlessCentredAndClosedByAClick) {
    std::unique_ptr<TSplash> splash = TSplash::showNow();
    ASSERT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash->size(), QSize(TSplash::kWidth, TSplash::kHeight));
    const QPoint offset = splash->geometry().center() - splash->screen()->geometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();

    QTest::mouseClick(splash.get(), Qt::LeftButton);
    EXPECT_FALSE(splash->isVisible());
}

TEST(Splash, PictureIsSharpOnDenseScreens) {
    const QPixmap picture = TSplash::productPicture(2.0);
    EXPECT_EQ(picture.size(), QSize(2 * TSplash::kWidth, 2 * TSplash::kHeight));
    EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(TSplash::kWidth, TSplash::kHeight));
}

// The window icon: square pictures at the sizes panels and switchers ask for,
// each with the emblem drawn and its corners left clear.
TEST(Splash, IconIsTheEmblemInSquareSizes) {
    const QIcon icon = TSplash::productIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (const int side : {16, 32, 48, 256})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    for (const QSize& size : sizes) {
        EXPECT_EQ(size.width(), size.height());
        const QImage image = icon.pixmap(size).toImage();
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size.width();
        EXPECT_GT(qAlpha(image.pixel(size.width() / 2, size.height() / 2)), 200) << size.width();
    }
}

namespace {

class EngineCheckTest : public ::testing::Test {
protected:
    void SetUp() override { m_oldFolder = TVlrLib::libraryFolder(); }
    void TearDown() override { useFolder(m_oldFolder); }
    static void useFolder(const QString& folder) {
        TVlrLib::instance().Unload();
        TVlrLib::setLibraryFolder(folder);
    }

    test::ScriptedMessages m_messages;
    QTemporaryDir m_dir;
    QString m_oldFolder;
};

} // namespace

TEST_F(EngineCheckTest, WithoutTheEngineTheStartEndsWithTheMessage) {
    useFolder(m_dir.path());
    EXPECT_FALSE(checkEngineLibrary());
    // A file of that name that is no library is no better.
    QFile junk(m_dir.filePath(kEngineFileName.toString()));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a library");
    junk.close();
    useFolder(m_dir.path());
    EXPECT_FALSE(checkEngineLibrary());

    ASSERT_EQ(m_messages.shown().size(), 2);
    for (const MessageRequest& shown : m_messages.shown()) {
        EXPECT_EQ(shown.text,
                  QStringLiteral("FATAL! General initalization failed!\rPlease, report to Orvanta."));
        EXPECT_EQ(shown.caption, QStringLiteral("Ошибка"));
        EXPECT_EQ(shown.icon, MsgIcon::Error);
        EXPECT_EQ(shown.buttons, MbOk);
    }
}

TEST_F(EngineCheckTest, WithTheEngineNothingIsSaid) {
    useFolder(test::binDir());
    EXPECT_TRUE(checkEngineLibrary());
    EXPECT_TRUE(m_messages.shown().isEmpty());
}
