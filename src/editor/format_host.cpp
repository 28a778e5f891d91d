#include "editor/format_host.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QInputDialog>

namespace vlr {

std::optional<QFont> TFormatHost::ChooseFont(const QFont& initial, QWidget* parent) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<QColor> TFormatHost::ChooseColor(const QColor& initial, bool, QWidget* parent) {
    const QColor c = QColorDialog::getColor(initial, parent);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

std::optional<int> TFormatHost::AskNumber(const QString& title, const QString& prompt, int value, int min,
                                          int max, QWidget* parent) {
    bool ok = false;
    const int v = QInputDialog::getInt(parent, title, prompt, qBound(min, value, max), min, max, 1, &ok);
    if (!ok)
        return std::nullopt;
    return qMin(v, max);
}

} // namespace vlr
