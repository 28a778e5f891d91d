#pragma once
// The program's built-in node pictures, used for new notebooks and for
// notebooks whose file holds no pictures of its own.
#include "storage/images/image_list.h"

#include <QString>
#include <QStringList>

namespace vlr {

// 16 x 16 pictures. Index 0 is a note's picture (a page), index 1 the
// notebook root's (a closed notebook), as the option defaults expect.
TMyImageList defaultImages();

// One short English word per picture, in index order (for tools and tests).
QStringList defaultImageNames();

} // namespace vlr
