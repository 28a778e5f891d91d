#pragma once
// Fonts kept as settings records turned into the formats of a document.
#include "config/fontrecord.h"

#include <QColor>
#include <QFont>
#include <QTextCharFormat>

#include <optional>

namespace vlr {

// "MS Shell Dlg" (or no name) stands for the system's interface font, its
// size scaled from the dialog font's 8 points.
QFont FontOf(const TFontRecord& font);
// The colour a value stands for; none for the automatic text colour.
std::optional<QColor> TextColorOf(quint32 value);
// Family, size, style bits, colour and character set, as the RTF writer reads them.
QTextCharFormat CharFormatOf(const TFontRecord& font);

} // namespace vlr
