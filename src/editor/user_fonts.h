#pragma once
// The user-font list: the faces last chosen in the font box, newest first,
// at most ten, kept in the settings section "UserFonts" and shown at the
// top of the box above the full list.
#include <QStringList>

namespace vlr {

class TSettingsFile;

class TUserFonts {
public:
    static constexpr int kMaxFonts = 10;

    TUserFonts() = default;
    explicit TUserFonts(QStringList names) : m_names(std::move(names)) {}
    const QStringList& Names() const { return m_names; }

    // Drops the names the installed list does not hold, keeping the order.
    void Merge(const QStringList& installed);
    // The face was chosen. A user font changes places with the first one; a
    // face from the full list goes first and pushes the eleventh out. With
    // Shift or Ctrl held (keep) the list stays as it is. Returns whether it changed.
    bool Choose(const QString& face, bool keep);

    // Section "UserFonts": Count and List; the list is read only when the
    // count is above 0, and never longer than the count says.
    void Read(const TSettingsFile& settings);
    void Write(TSettingsFile& settings) const;

private:
    QStringList m_names;
};

} // namespace vlr
