#pragma once
// Fonts kept in the options as a name, a size in points and style bits.
#include <QFont>

namespace vlr {

struct TVLROptions;

QFont TreeFont(const TVLROptions& options);
QFont DefaultRichFont(const TVLROptions& options);
QFont PlainTextFont(const TVLROptions& options);

} // namespace vlr
