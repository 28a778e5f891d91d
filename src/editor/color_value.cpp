#include "editor/color_value.h"

namespace vlr {

quint32 colorValue(const QColor& color) {
    const QColor c = color.toRgb();
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

QColor colorFromValue(quint32 value, const QPalette& palette) {
    if (value & 0x80000000u) {
        switch (value & 0xFF) {
        case 5:
            return palette.color(QPalette::Base);
        case 8:
            return palette.color(QPalette::Text);
        case 13:
            return palette.color(QPalette::Highlight);
        case 14:
            return palette.color(QPalette::HighlightedText);
        case 15:
            return palette.color(QPalette::Button);
        case 17:
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 26:
            return palette.color(QPalette::Link);
        default:
            return palette.color(QPalette::Window);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace vlr
