#include "config/setting_fonts.h"

#include <QFontInfo>
#include <QGuiApplication>

namespace vlr {

namespace {
constexpr double kDialogPointSize = 8.0;
} // namespace

bool IsInterfaceFontName(QStringView name) {
    return name.compare(u"MS Shell Dlg", Qt::CaseInsensitive) == 0 ||
           name.compare(u"MS Shell Dlg 2", Qt::CaseInsensitive) == 0;
}

QFont InterfaceFont(int dialogPointSize) {
    const QFont base = QGuiApplication::font();
    const QFontInfo used(base);
    QFont font = base;
    // A generic name such as "Sans Serif" means nothing to other programs.
    if (!used.family().isEmpty())
        font.setFamilies({used.family()});
    const double own = base.pointSizeF() > 0 ? base.pointSizeF() : used.pointSizeF();
    if (dialogPointSize > 0 && own > 0)
        font.setPointSizeF(qMax(1.0, qRound(dialogPointSize * own / kDialogPointSize * 2) / 2.0));
    return font;
}

QFont FontFromSettings(const QString& name, int pointSize, int style) {
    QFont font;
    if (name.isEmpty() || IsInterfaceFontName(name)) {
        font = InterfaceFont(pointSize);
    } else {
        font = QGuiApplication::font();
        font.setFamilies({name});
        if (pointSize > 0)
            font.setPointSize(pointSize);
    }
    font.setBold(style & 1);
    font.setItalic(style & 2);
    font.setUnderline(style & 4);
    font.setStrikeOut(style & 8);
    return font;
}

} // namespace vlr
