#pragma once
// RTF text escaping as the writer produces it: ASCII as is, Windows-1251
// letters as \'hh, everything else as \uN? so no character is lost.
#include <QByteArray>
#include <QStringView>

namespace vlr::rtf {

// ansi: whether \'hh (Windows-1251) may be used for this run's font.
// portable: every non-ASCII letter as \uN with a \'hh fallback (the
// Windows-1251 byte or '?'), which readers that ignore \ansicpg or lose the
// character after a plain '?' fallback still read right.
void appendRtfText(QByteArray& out, QStringView text, bool ansi = true, bool portable = false);

// Appends "\word" or "\wordN" followed by a space only when needed before
// the text that follows; callers append a space or a delimiter themselves.
void appendWord(QByteArray& out, const char* word);
void appendWord(QByteArray& out, const char* word, int value);

} // namespace vlr::rtf
