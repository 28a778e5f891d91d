// The text and HTML conversions reach the program through the extension
// library's C boundary unchanged.
#include "core/error.h"
#include "library_fixture.h"
#include "rtf/convert.h"

#include <QTemporaryDir>

using namespace vlr;

namespace {
const QByteArray kRtf =
    "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\f0 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\tab "
    "{\\b world}\\par second\\line line\\par}";
}

TEST(LibsConvertTest, TextConversionsMatchTheReader) {
    TExtLib::setLibraryFolder(test::binDir());
    TExtLib& ext = TExtLib::instance();
    ASSERT_TRUE(ext.IsAvailable()) << ext.errorString().toStdString();
    for (int mode : {0, 1})
        EXPECT_EQ(ext.ConvertData2(kRtf, mode), rtf::convertData2(kRtf, mode)) << mode;
    EXPECT_TRUE(ext.ConvertData2(kRtf, 0).startsWith(QStringLiteral("Привет\t")));
    EXPECT_THROW(ext.ConvertData2(kRtf, 7), EVellinorError) << "unknown modes fail";
}

TEST(LibsConvertTest, HtmlConversionCarriesItsOptions) {
    TExtLib::setLibraryFolder(test::binDir());
    TExtLib& ext = TExtLib::instance();
    QTemporaryDir dir;
    TExtLib::HtmlOptions o;
    o.folder = dir.path();
    o.fileName = QStringLiteral("заметка.html");
    o.title = QStringLiteral("Заголовок <&>");
    o.fontName = QStringLiteral("Arial");
    o.fontSize = 12;
    rtf::ConvertDataOptions r;
    r.folder = o.folder;
    r.fileName = o.fileName;
    r.title = o.title;
    r.fontName = o.fontName;
    r.fontSize = o.fontSize;
    const QByteArray html = ext.ConvertData(kRtf, o);
    EXPECT_EQ(html, rtf::convertData(kRtf, r));
    EXPECT_TRUE(QString::fromUtf8(html).contains(QStringLiteral("Привет")));
}
