#include "tree/option_fonts.h"

#include "config/options.h"
#include "editor/richedit_types.h"

#include <QFontDatabase>

namespace vlr {

QFont FontFromOptions(const QString& name, int pointSize, int style) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (name.compare(QLatin1String("MS Shell Dlg"), Qt::CaseInsensitive) != 0 && !name.isEmpty())
        font.setFamilies({name});
    if (pointSize > 0)
        font.setPointSize(pointSize);
    font.setBold(style & fsBold);
    font.setItalic(style & fsItalic);
    font.setUnderline(style & fsUnderline);
    font.setStrikeOut(style & fsStrikeOut);
    return font;
}

QFont TreeFont(const TVLROptions& o) {
    return FontFromOptions(o.TreeFontName, o.TreeFontSize, 0);
}

QFont DefaultRichFont(const TVLROptions& o) {
    return FontFromOptions(o.DefFontName, o.DefFontSize, o.DefFontStyle);
}

QFont PlainTextFont(const TVLROptions& o) {
    return FontFromOptions(o.PlainFontName, o.PlainFontSize, o.PlainFontStyle);
}

} // namespace vlr
