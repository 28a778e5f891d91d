#pragma once
// What the search dialog keeps in section "GlobalFindOptions" of the
// settings file, and the list of remembered search texts.
#include "search/search_options.h"

#include <QSize>
#include <QStringList>

namespace vlr {

class TSettingsFile;

inline const QString kGlobalFindSection = QStringLiteral("GlobalFindOptions");
// Remembered search texts, newest first.
inline constexpr int kRememberedTexts = 20;

struct TGlobalFindSettings {
    QSize dialogSize;
    QStringList items; // remembered texts
    TSearchScope whereToFind = TSearchScope::NoteAndDescendants;
    bool useRegExp = false;
    bool caseSensitive = false;
    bool matchWords = false;
    TMatchMode matchMode = TMatchMode::ExactPhrase;
};

// Missing keys read as their defaults; the size defaults to currentSize.
// Out-of-range choices read as the first choice.
TGlobalFindSettings ReadGlobalFindSettings(const TSettingsFile& file, QSize currentSize);
// Writes every key in one replacement of the file; false when it failed.
[[nodiscard]] bool WriteGlobalFindSettings(TSettingsFile& file, const TGlobalFindSettings& settings);

// Puts text at the top of the list unless the list holds it already in any
// letter case; the list keeps at most kRememberedTexts. True when it changed.
bool RememberSearchText(QStringList& items, const QString& text);

} // namespace vlr
