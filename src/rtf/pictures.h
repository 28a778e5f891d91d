#pragma once
// Turning RTF picture data into images for display, and the sizes the RTF
// asks them to be shown at.
#include "rtf/state.h"

#include <QImage>
#include <QSizeF>

namespace vlr::rtf {

// The picture decoded (PNG, JPEG, device-independent bitmaps); a neutral
// placeholder of the shown size for what cannot be drawn (metafiles, objects).
QImage pictureImage(const Picture& picture, QSizeF shown);

// Shown size in pixels (1/96 inch): the goal sizes with their scaling,
// otherwise the image's own size.
QSizeF shownSize(const Picture& picture, const QImage& decoded);

QImage decodePicture(const Picture& picture);

} // namespace vlr::rtf
