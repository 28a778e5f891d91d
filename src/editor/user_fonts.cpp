#include "editor/user_fonts.h"

#include "config/settingsfile.h"

namespace vlr {

namespace {
const QString kSection = QStringLiteral("UserFonts");
}

void TUserFonts::Merge(const QStringList& installed) {
    QStringList kept;
    for (const QString& name : std::as_const(m_names))
        if (installed.contains(name, Qt::CaseInsensitive) && !kept.contains(name, Qt::CaseInsensitive))
            kept << name;
    m_names = kept;
}

bool TUserFonts::Choose(const QString& face, bool keep) {
    if (keep || face.isEmpty())
        return false;
    const qsizetype at = m_names.indexOf(face);
    if (at == 0)
        return false;
    if (at > 0) {
        m_names.swapItemsAt(0, at);
        return true;
    }
    m_names.prepend(face);
    while (m_names.size() > kMaxFonts)
        m_names.removeLast();
    return true;
}

void TUserFonts::Read(const TSettingsFile& settings) {
    m_names.clear();
    if (!settings.sectionExists(kSection))
        return;
    const int count = settings.readInteger(kSection, QStringLiteral("Count"), 0);
    if (count <= 0)
        return;
    QStringList names = settings.readList(kSection, QStringLiteral("List"));
    names.removeAll(QString());
    m_names = names.mid(0, qMin(count, int(kMaxFonts)));
}

void TUserFonts::Write(TSettingsFile& settings) const {
    settings.writeInteger(kSection, QStringLiteral("Count"), int(m_names.size()));
    settings.writeList(kSection, QStringLiteral("List"), m_names);
}

} // namespace vlr
