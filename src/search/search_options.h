#pragma once
// What the user asks a global search for: the text, how to read it and
// where to look.
#include <QString>

namespace vlr {

// Where to search, in the order of the dialog's radio buttons and of the
// stored WhereToFind value.
enum class TSearchScope : int {
    NoteAndDescendants = 0, // the selected note and the notes below it
    CurrentNotebook = 1,
    AllNotebooks = 2,
};

// How the words of a text that is not a regular expression combine.
enum class TMatchMode : int {
    ExactPhrase = 0,
    AnyWord = 1,
    AllWords = 2,
};

struct TSearchOptions {
    QString text;
    bool regExp = false; // the text is a regular expression; the three below are ignored then
    bool caseSensitive = false;
    bool matchWords = false;
    TMatchMode matchMode = TMatchMode::ExactPhrase;
    TSearchScope scope = TSearchScope::NoteAndDescendants;
};

} // namespace vlr
