#pragma once
// Colour values (0x00BBGGRR or a system colour 0x80000000 + n) and Qt colours.
#include <QColor>
#include <QPalette>

namespace vlr {

// An explicit colour as 0x00BBGGRR.
quint32 colorValue(const QColor& color);
// The colour a value stands for; system colours come from the palette.
QColor colorFromValue(quint32 value, const QPalette& palette = QPalette());

} // namespace vlr
