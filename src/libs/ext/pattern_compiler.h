#pragma once
// Turns a pattern in the program's dialect and its modifier letters into a
// QRegularExpression: Unicode properties always on (so \w and \b cover
// Cyrillic), modifiers i s m r and a leading "-" for case-sensitive.
#include <QRegularExpression>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace vlr::ext {

struct PatternError {
    int offset = 0; // 0-based, in the pattern as given
    QString reason;
};

// Modifiers the catch patterns and RE_CheckText/RE_Replace use.
inline constexpr QStringView kDefaultModifiers = u"irsm";

std::optional<QRegularExpression> compilePattern(QStringView pattern, QStringView modifiers,
                                                 PatternError* error);

// The pattern with ё added to every character-class range that spans е..ж
// and Ё to every one that spans Е..Ж (the Russian alphabetical order, where
// the code points of ё and Ё lie outside а..я and А..Я). `origin` receives,
// for each unit of the result and one past its end, the offset in `pattern`
// it came from.
QString expandRussianRanges(QStringView pattern, std::vector<int>* origin = nullptr);

// Text with every unpaired surrogate replaced by U+FFFD; the length and all
// other units stay, so positions keep their meaning. Matching refuses
// ill-formed UTF-16 outright, which would hide every match in such a text.
QString withWellFormedUtf16(QString text);

} // namespace vlr::ext
