#include "tree/option_fonts.h"

#include "config/options.h"
#include "config/setting_fonts.h"

namespace vlr {

QFont TreeFont(const TVLROptions& o) {
    return FontFromSettings(o.TreeFontName, o.TreeFontSize, 0);
}

QFont DefaultRichFont(const TVLROptions& o) {
    return FontFromSettings(o.DefFontName, o.DefFontSize, o.DefFontStyle);
}

QFont PlainTextFont(const TVLROptions& o) {
    return FontFromSettings(o.PlainFontName, o.PlainFontSize, o.PlainFontStyle);
}

} // namespace vlr
