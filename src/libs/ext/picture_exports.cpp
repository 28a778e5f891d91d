// LoadPictureFromFile2/FreeThis: pictures decoded with QImageReader. The
// library keeps the last picture until the caller has copied it.
#include "libs/ext/ext_abi.h"
#include "libs/ext/text_bridge.h"

#include <QImage>
#include <QImageReader>
#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex g_lock;
QImage g_picture;
VlrBitmap g_bitmap{};

// Formats with a colour table would need it to cross the boundary too.
QImage withoutColourTable(QImage image) {
    if (image.colorCount() == 0 && image.format() != QImage::Format_Mono &&
        image.format() != QImage::Format_MonoLSB && image.format() != QImage::Format_Indexed8)
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

} // namespace

extern "C" const VlrBitmap* LoadPictureFromFile2(const char16_t* fileName, size_t fileNameLen) {
    try {
        // QImageReader refuses pictures beyond its allocation limit, so a
        // forged size cannot make it allocate without bound.
        QImageReader reader(vlr::ext::fromUtf16(fileName, fileNameLen));
        QImage image;
        if (!reader.read(&image) || image.isNull())
            return nullptr;
        image = withoutColourTable(std::move(image));
        if (image.isNull())
            return nullptr;
        QMutexLocker lock(&g_lock);
        g_picture = std::move(image);
        g_bitmap.width = g_picture.width();
        g_bitmap.height = g_picture.height();
        g_bitmap.format = int(g_picture.format());
        g_bitmap.bytesPerLine = int(g_picture.bytesPerLine());
        g_bitmap.bits = g_picture.constBits();
        return &g_bitmap;
    } catch (...) {
        return nullptr;
    }
}

extern "C" void FreeThis(void) {
    QMutexLocker lock(&g_lock);
    g_picture = QImage();
    g_bitmap = VlrBitmap{};
}
