// The loaders' rules: loaded only when the file loads and every required
// entry point resolves; a failed load is retried at the next query.
#include "core/error.h"
#include "library_fixture.h"
#include "libs/extlib.h"
#include "libs/vlrlib.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vlr {
namespace {

class LibsLoadingTest : public ::testing::Test {
protected:
    void TearDown() override {
        TVlrLib::instance().Unload();
        TExtLib::instance().Unload();
        TVlrLib::setLibraryFolder(test::binDir());
        TExtLib::setLibraryFolder(test::binDir());
    }

    static void useExtFolder(const QString& folder) {
        TExtLib::instance().Unload();
        TExtLib::setLibraryFolder(folder);
    }
};

TEST_F(LibsLoadingTest, DefaultFolderIsTheProgramFolder) {
    TVlrLib::setLibraryFolder(QString());
    TExtLib::setLibraryFolder(QString());
    EXPECT_EQ(TVlrLib::libraryFolder(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(TExtLib::libraryFolder(), QCoreApplication::applicationDirPath());
}

TEST_F(LibsLoadingTest, MissingEngineIsReportedAndRetriedLater) {
    TVlrLib& lib = TVlrLib::instance();
    lib.Unload();
    TVlrLib::setLibraryFolder(QStringLiteral("/nonexistent/vellinor"));
    EXPECT_FALSE(lib.IsLoaded());
    EXPECT_TRUE(lib.errorString().contains(QStringLiteral("/nonexistent/vellinor/libVellinor.so")))
        << lib.errorString().toStdString();
    EXPECT_TRUE(lib.errorString().contains(QStringLiteral("not found")));

    QByteArray out;
    try {
        lib.BZC("data", out);
        FAIL() << "BZC without the library must raise";
    } catch (const EVellinorError& e) {
        EXPECT_EQ(e.text(), kEngineLoadError.toString());
    }
    // Burning a context never needs the library.
    TVlrLib::BFContext ctx;
    ctx.bytes[5] = 7;
    lib.BFBurn(ctx);
    EXPECT_EQ(ctx.bytes[5], 0);

    TVlrLib::setLibraryFolder(test::binDir());
    EXPECT_TRUE(lib.IsLoaded()) << lib.errorString().toStdString();
    EXPECT_TRUE(lib.errorString().isEmpty());
}

TEST_F(LibsLoadingTest, MissingExtensionLibraryIsUnavailable) {
    TExtLib& ext = TExtLib::instance();
    useExtFolder(QStringLiteral("/nonexistent/vellinor"));
    EXPECT_FALSE(ext.IsAvailable());
    EXPECT_FALSE(ext.HasCheckText());
    EXPECT_TRUE(ext.errorString().contains(QStringLiteral("libVlrExt.so")))
        << ext.errorString().toStdString();
    EXPECT_THROW(ext.GetFormulaValue(QStringLiteral("1+1")), EVellinorError);
    ext.RE_Done(); // cleanup stays harmless

    useExtFolder(test::binDir());
    EXPECT_TRUE(ext.IsAvailable()) << ext.errorString().toStdString();
    EXPECT_TRUE(ext.HasCheckText());
}

TEST_F(LibsLoadingTest, FileThatIsNotALibraryIsRejected) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(test::writeFile(dir.filePath(QStringLiteral("libVlrExt.so")), "not an ELF file at all"));

    useExtFolder(dir.path());
    EXPECT_FALSE(TExtLib::instance().IsAvailable());
    EXPECT_TRUE(TExtLib::instance().errorString().contains(QStringLiteral("cannot be loaded")))
        << TExtLib::instance().errorString().toStdString();
}

TEST_F(LibsLoadingTest, LibraryLackingARequiredExportIsUnavailable) {
    useExtFolder(QStringLiteral(VLR_EXT_WITHOUT_PACKPROC_DIR));
    EXPECT_FALSE(TExtLib::instance().IsAvailable());
    EXPECT_TRUE(TExtLib::instance().errorString().contains(QStringLiteral("PackProc")))
        << TExtLib::instance().errorString().toStdString();
    QByteArray out;
    EXPECT_THROW(TExtLib::instance().PackProc("x", out, 1), EVellinorError);
}

TEST_F(LibsLoadingTest, CheckTextIsOptional) {
    useExtFolder(QStringLiteral(VLR_EXT_WITHOUT_CHECKTEXT_DIR));
    TExtLib& ext = TExtLib::instance();
    ASSERT_TRUE(ext.IsAvailable()) << ext.errorString().toStdString();
    EXPECT_FALSE(ext.HasCheckText());
    EXPECT_FALSE(ext.RE_CheckText(QStringLiteral("a"), QStringLiteral("a")));
}

TEST_F(LibsLoadingTest, UnloadedExtensionLibraryReloadsAtTheNextQuery) {
    useExtFolder(test::binDir());
    TExtLib& ext = TExtLib::instance();
    ASSERT_TRUE(ext.IsAvailable());
    ext.Unload();
    EXPECT_EQ(ext.RE_Quote(QStringLiteral("a.b")), QStringLiteral("a\\.b")); // loads again on use
    EXPECT_TRUE(ext.IsAvailable());
}

} // namespace
} // namespace vlr
