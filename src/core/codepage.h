#pragma once
// Conversions between QString and the 8-bit code pages of the stored formats:
// Windows-1251 (the "ANSI" code page of notebooks and settings) and IBM866
// (the "OEM" code page, also of OEM text export). Text files for other Linux
// programs are UTF-8 instead, the system's code page here.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vlr {

// Characters the code page cannot hold become '?'.
QByteArray toAnsi(const QString& text);
QString fromAnsi(const QByteArray& bytes);
QString fromAnsi(const char* data, qsizetype size);
QByteArray toOem(const QString& text);
QString fromOem(const QByteArray& bytes);

// True when every character of the text survives a trip through Windows-1251.
bool fitsAnsi(const QString& text);
// The characters of the text that Windows-1251 cannot hold, each once, in the
// order they first appear; a character beyond the 16-bit range stays whole.
QStringList lostInAnsi(const QString& text);

// Decoding and encoding by any code page number (1251, 1252, 874, 932…);
// unknown numbers fall back to Windows-1251.
QString decodeCodePage(int codePage, const QByteArray& bytes);
QByteArray encodeCodePage(int codePage, const QString& text);
bool codePageKnown(int codePage);

} // namespace vlr
