#pragma once
// The regular expression and modifier letters a search text becomes.
#include "search/search_options.h"

#include <QStringList>

namespace vlr {

class TExtLib;

struct TSearchPattern {
    QString pattern;
    QString modifiers;
    // All words: a note is listed only when the library's rank equals this
    // count; -1 for the other modes.
    int wordCount = -1;
};

// Longest pattern an all-words search builds; further words are left out.
inline constexpr int kAllWordsPatternLimit = 255;

// The words of a text: runs of characters other than blanks and commas.
QStringList SearchWords(const QString& text);

// Builds the pattern with the library's quoting (which throws when the
// library is unavailable).
TSearchPattern BuildSearchPattern(TExtLib& ext, const TSearchOptions& options);

} // namespace vlr
