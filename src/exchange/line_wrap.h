#pragma once
// Breaking plain text into lines of at most a given width for text export.
#include <QString>

namespace vlr {

// The characters a long line may be broken after.
inline constexpr QStringView kLineBreakChars = u" !\"#$%&')*,./:;>?]}~";

// Cuts the text into lines (CR LF, LF or a lone CR end a line). A line longer
// than width is broken after the last break character within the width, or
// after the first one past it when there is none; text between quotes (' or ")
// is never broken. Every output line ends with CR LF.
QString WrapLines(const QString& text, int width);

} // namespace vlr
