#include "config/session_state.h"

namespace vlr {

void TRecentNotebooks::Add(const QString& path) {
    if (path.isEmpty())
        return;
    m_items.removeAll(path);
    m_items.prepend(path);
    while (m_items.size() > kMaxEntries)
        m_items.removeLast();
}

void TRecentNotebooks::Read(const TSettingsFile& file) {
    m_items.clear();
    const TSettingsSection section = file.readSection(kSection);
    for (int i = 1; i <= kMaxEntries; ++i) {
        const QString path = section.readString(QStringLiteral("File%1").arg(i));
        if (!path.isEmpty() && !m_items.contains(path))
            m_items.append(path);
    }
}

void TRecentNotebooks::Write(TSettingsFile& file) const {
    TSettingsEntries values;
    for (int i = 0; i < m_items.size(); ++i)
        values.append({QStringLiteral("File%1").arg(i + 1), m_items[i]});
    if (!values.isEmpty())
        file.writeValues(kSection, values);
    const TSettingsSection written = file.readSection(kSection);
    for (int i = int(m_items.size()) + 1; i <= kMaxEntries; ++i)
        if (written.contains(QStringLiteral("File%1").arg(i)))
            file.deleteKey(kSection, QStringLiteral("File%1").arg(i));
}

void TLastSession::Read(const TSettingsFile& file) {
    files.clear();
    selected = 0;
    const int count = file.readInteger(kSection, QStringLiteral("NumberOfLastUsed"), 0);
    if (count <= 0)
        return;
    files = file.readList(kSection, QStringLiteral("LastUsed"));
    files.removeAll(QString());
    selected = file.readInteger(kSection, QStringLiteral("LastSelected"), 0);
}

void TLastSession::Write(TSettingsFile& file) const {
    file.writeInteger(kSection, QStringLiteral("NumberOfLastUsed"), int(files.size()));
    if (files.isEmpty())
        return;
    file.writeList(kSection, QStringLiteral("LastUsed"), files);
    file.writeInteger(kSection, QStringLiteral("LastSelected"), selected);
}

void TWindowPlacement::Read(const TSettingsFile& file, const QRect& screen, bool portable) {
    state = file.readInteger(kSection, QStringLiteral("State"), Normal);
    if (state < Normal || state > Maximised)
        state = Normal;
    int left = file.readInteger(kSection, QStringLiteral("Left"), screen.x() + screen.width() / 10);
    const int top = file.readInteger(kSection, QStringLiteral("Top"), screen.y() + screen.height() / 10);
    int width = file.readInteger(kSection, QStringLiteral("Width"), screen.width() * 8 / 10);
    int height = file.readInteger(kSection, QStringLiteral("Height"), screen.height() * 8 / 10);
    if (portable) {
        // A portable program moves between machines with other screens.
        if (left > screen.width())
            left -= screen.width();
        if (width > screen.width())
            width = screen.width() * 8 / 10;
        if (height > screen.height())
            height = screen.height() * 8 / 10;
    }
    geometry = QRect(left, top, qMax(width, 1), qMax(height, 1));
}

void TWindowPlacement::Write(TSettingsFile& file) const {
    file.writeValues(kSection, {{QStringLiteral("State"), QString::number(state)},
                                {QStringLiteral("Left"), QString::number(geometry.x())},
                                {QStringLiteral("Top"), QString::number(geometry.y())},
                                {QStringLiteral("Width"), QString::number(geometry.width())},
                                {QStringLiteral("Height"), QString::number(geometry.height())}});
}

} // namespace vlr
