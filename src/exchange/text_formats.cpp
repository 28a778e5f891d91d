#include "exchange/text_formats.h"

#include "config/setting_fonts.h"
#include "rtf/properties.h"

#include <QGuiApplication>
#include <QPalette>

namespace vlr {

QFont FontOf(const TFontRecord& f) {
    return FontFromSettings(f.name, f.size, f.style);
}

std::optional<QColor> TextColorOf(quint32 value) {
    constexpr quint32 kSystem = 0x80000000u;
    if (value == kSystem + 8)
        return std::nullopt;
    if ((value & kSystem) == 0)
        return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
    const QPalette palette = QGuiApplication::palette();
    switch (value - kSystem) {
    case 5:
        return palette.color(QPalette::Base);
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
        return std::nullopt;
    }
}

QTextCharFormat CharFormatOf(const TFontRecord& f) {
    QTextCharFormat format;
    const QFont font = FontOf(f);
    format.setFontFamilies(QStringList{font.family()});
    format.setFontPointSize(font.pointSizeF());
    format.setFontWeight((f.style & 1) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(f.style & 2);
    format.setFontUnderline(f.style & 4);
    format.setFontStrikeOut(f.style & 8);
    if (const std::optional<QColor> color = TextColorOf(f.color))
        format.setForeground(*color);
    // 1 is "the system's": the writer's own choice (Cyrillic) stands for it.
    if (f.charset != 1)
        format.setProperty(rtf::PropFontCharset, int(f.charset));
    return format;
}

} // namespace vlr
