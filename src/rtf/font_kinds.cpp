#include "rtf/font_kinds.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>

#include <optional>

namespace vlr::rtf {

namespace {

bool containsAny(const QString& name, std::initializer_list<const char16_t*> words) {
    for (const char16_t* w : words)
        if (name.contains(QStringView(w), Qt::CaseInsensitive))
            return true;
    return false;
}

std::optional<FontKind> kindByName(const QString& name) {
    // Windows' dialog font and Qt's generic names.
    if (name.startsWith(u"MS Shell Dlg", Qt::CaseInsensitive) ||
        name.compare(u"Sans", Qt::CaseInsensitive) == 0)
        return FontKind::SansSerif;
    if (containsAny(name, {u"mono", u"courier", u"consol", u"fixed", u"terminal", u"typewriter", u"code"}))
        return FontKind::Monospace;
    if (name.contains(u"sans", Qt::CaseInsensitive))
        return FontKind::SansSerif;
    if (containsAny(name, {u"serif", u"times", u"roman", u"georgia", u"garamond", u"cambria", u"palatino",
                           u"antiqua", u"bookman", u"schoolbook", u"baskerville", u"constantia", u"bodoni",
                           u"didot", u"caslon", u"minion"}))
        return FontKind::Serif;
    return std::nullopt;
}

} // namespace

FontKind fontKindOf(const QString& family) {
    const QString name = family.trimmed();
    if (const std::optional<FontKind> kind = kindByName(name))
        return *kind;
    // The font database needs a GUI application; without one the name is all there is.
    if (name.isEmpty() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return FontKind::SansSerif;
    if (QFontDatabase::hasFamily(name) && QFontDatabase::isFixedPitch(name))
        return FontKind::Monospace;
    const QFontInfo used{QFont(name)};
    if (used.fixedPitch())
        return FontKind::Monospace;
    return kindByName(used.family()).value_or(FontKind::SansSerif);
}

QString cssFontFamily(const QString& family) {
    QString name = family.trimmed();
    name.remove(u'"').remove(u';').remove(u'<').remove(u'>').remove(u'&').remove(u'{').remove(u'}').remove(
        u'\\');
    QString generic;
    switch (fontKindOf(name)) {
    case FontKind::Serif:
        generic = QStringLiteral("serif");
        break;
    case FontKind::SansSerif:
        generic = QStringLiteral("sans-serif");
        break;
    case FontKind::Monospace:
        generic = QStringLiteral("monospace");
        break;
    }
    return name.isEmpty() ? generic : u'"' + name + QStringLiteral("\", ") + generic;
}

} // namespace vlr::rtf
