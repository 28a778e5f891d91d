#pragma once
// The state a session leaves for the next one: the recent notebooks, the
// notebooks open at exit with the selection among them, and the main
// window's place. Each reads and writes its own section of the settings file.
#include "config/settingsfile.h"

#include <QRect>
#include <QStringList>

namespace vlr {

// Recent notebooks: full paths, most recent first, at most ten.
class TRecentNotebooks {
public:
    static constexpr int kMaxEntries = 10;
    static inline const QString kSection = QStringLiteral("RecentNotebooks");

    const QStringList& Items() const { return m_items; }
    bool IsEmpty() const { return m_items.isEmpty(); }
    // Puts the path on top; a path listed already moves there.
    void Add(const QString& path);
    void Clear() { m_items.clear(); }

    // File1..File10, empty keys skipped.
    void Read(const TSettingsFile& file);
    // File1..FileN; keys beyond the list are deleted.
    void Write(TSettingsFile& file) const;

private:
    QStringList m_items;
};

// The notebooks open when the program last closed, and which one was selected.
struct TLastSession {
    static inline const QString kSection = QStringLiteral("Environment");

    QStringList files;
    // The absolute index of the selected node in the whole tree.
    int selected = 0;

    // Only when the notebooks of the last session are reopened: otherwise
    // the section is neither read nor written.
    void Read(const TSettingsFile& file);
    void Write(TSettingsFile& file) const;
};

// The main window's place: State 0 normal, 1 minimised, 2 maximised.
struct TWindowPlacement {
    static inline const QString kSection = QStringLiteral("WindowPos");
    enum State { Normal = 0, Minimised = 1, Maximised = 2 };

    int state = Normal;
    QRect geometry;

    // Missing keys default to a tenth of the screen from its corner and 80 % of its size.
    void Read(const TSettingsFile& file, const QRect& screen, bool portable);
    void Write(TSettingsFile& file) const;
};

} // namespace vlr
