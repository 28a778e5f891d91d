// GoogleTest entry point with the Qt application object the tests need:
// QCoreApplication, QGuiApplication or QApplication, chosen at build time.
#include <gtest/gtest.h>

#if VLR_TEST_APP == 2
#include <QApplication>
using App = QApplication;
#elif VLR_TEST_APP == 1
#include <QGuiApplication>
using App = QGuiApplication;
#else
#include <QCoreApplication>
using App = QCoreApplication;
#endif

int main(int argc, char** argv) {
    // Test discovery runs the binary outside CTest's environment: no display either way.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    App app(argc, argv);
    return RUN_ALL_TESTS();
}
