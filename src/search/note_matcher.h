#pragma once
// One note against the compiled pattern: its title, then its body text.
#include <QList>
#include <QString>

namespace vlr {

class TExtLib;
class TNodeData;

// One row of the results: a match in a note's title or in its body.
struct TSearchRow {
    TNodeData* note = nullptr;
    QString caption;    // the titles from the notebook's root to the note, joined by " | "
    QString firstMatch; // up to kFirstMatchLength characters from the match on
    int rank = 0;
    int position = 0; // 1-based, in the title or in the body's plain text
    int length = 0;
    bool title = false;
};

inline constexpr int kFirstMatchLength = 50;
inline const QString kCaptionSeparator = QStringLiteral(" | ");
// Raised when the library fails while matching a note.
inline const QString kRegExpExecError = QStringLiteral("Fatal: Error while calling RegExp.Exec method!");
// Raised for any other failure while searching.
inline const QString kSearchError = QStringLiteral("Fatal: Error while searching in notebook!");

// The path of titles shown for a note.
QString NoteCaption(const TNodeData& note);
// Up to kFirstMatchLength characters of text from the 1-based position on,
// characters below 32 shown as blanks.
QString FirstMatchText(const QString& text, int position);

class TNoteMatcher {
public:
    // wordCount >= 0 lists a match only when the rank equals it (all words).
    TNoteMatcher(TExtLib& ext, int wordCount) : m_ext(ext), m_wordCount(wordCount) {}

    // The title row first, then the body row, for what matched. The pattern
    // must be compiled (RE_Init). Throws EVellinorError kRegExpExecError
    // when the library fails.
    QList<TSearchRow> Match(TNodeData& note, const QString& bodyText) const;

private:
    bool exec(const QString& text, TSearchRow& row) const;

    TExtLib& m_ext;
    int m_wordCount;
};

} // namespace vlr
