#pragma once
// Turning RTF picture data into images for display, and the sizes the RTF
// asks them to be shown at.
#include "rtf/state.h"

#include <QImage>
#include <QSizeF>

namespace vlr::rtf {

// The picture decoded (PNG, JPEG, device-independent bitmaps) or drawn
// (metafiles); a null image for what cannot be shown or would exceed maxPixels.
QImage decodePicture(const Picture& picture, qint64 maxPixels);

// What is shown for pictures that cannot be drawn.
QImage placeholderImage();

// Shown size in pixels (1/96 inch): the goal sizes with their scaling,
// otherwise the image's own size.
QSizeF shownSize(const Picture& picture, const QImage& decoded);

} // namespace vlr::rtf
