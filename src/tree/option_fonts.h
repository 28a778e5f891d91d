#pragma once
// Fonts kept in the options as a name, a size in points and style bits.
#include <QFont>

namespace vlr {

struct TVLROptions;

// "MS Shell Dlg" stands for the system's interface font.
QFont FontFromOptions(const QString& name, int pointSize, int style);

QFont TreeFont(const TVLROptions& options);
QFont DefaultRichFont(const TVLROptions& options);
QFont PlainTextFont(const TVLROptions& options);

} // namespace vlr
