// ConvertData2 and ConvertData: the RTF reader's text and HTML conversions
// behind the C boundary.
#include "libs/ext/ext_abi.h"
#include "rtf/convert.h"

#include <QString>

namespace {

QString text(const char16_t* data, size_t count) {
    return data ? QString(reinterpret_cast<const QChar*>(data), qsizetype(count)) : QString();
}

} // namespace

extern "C" int ConvertData2(const void* rtf, size_t rtfLen, VlrAppendText out, void* sink, int mode) {
    if (!out || (!rtf && rtfLen != 0) || (mode != 0 && mode != 1))
        return 0;
    try {
        const QString plain =
            vlr::rtf::convertData2(QByteArrayView(static_cast<const char*>(rtf), qsizetype(rtfLen)), mode);
        return out(sink, reinterpret_cast<const char16_t*>(plain.utf16()), size_t(plain.size())) ? 1 : 0;
    } catch (...) {
        return 0; // nothing may cross the C boundary
    }
}

extern "C" int ConvertData(const void* data, size_t dataLen, VlrAppendBytes out, void* sink,
                           const struct VlrConvertOptions* options) {
    if (!out || !options || (!data && dataLen != 0))
        return 0;
    try {
        vlr::rtf::ConvertDataOptions o;
        o.folder = text(options->folder, options->folderLen);
        o.fileName = text(options->fileName, options->fileNameLen);
        o.title = text(options->title, options->titleLen);
        o.generator = text(options->generator, options->generatorLen);
        o.fontName = text(options->fontName, options->fontNameLen);
        o.fontSize = options->fontSize;
        o.pictures = options->flags & VlrConvertPictures;
        o.tabsAsNbsp = options->flags & VlrConvertTabsAsNbsp;
        o.useBackground = options->flags & VlrConvertUseBackground;
        o.backgroundColor = options->backgroundColor;
        const QByteArray html =
            vlr::rtf::convertData(QByteArrayView(static_cast<const char*>(data), qsizetype(dataLen)), o);
        return out(sink, html.constData(), size_t(html.size())) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
