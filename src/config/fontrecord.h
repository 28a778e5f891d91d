#pragma once
// A font kept in the settings file as five keys: a prefix followed by Name,
// Charset, Style, Size and Color. Missing keys read as the defaults below.
#include "config/settingsfile.h"

#include <QString>

namespace vlr {

struct TFontRecord {
    QString name = QStringLiteral("MS Shell Dlg"); // the system's interface font
    quint8 charset = 1;                            // 1: the system default
    quint8 style = 0;                              // bold 1, italic 2, underline 4, strike-out 8
    int size = 8;                                  // points
    quint32 color = 0x80000008;                    // window text

    bool operator==(const TFontRecord&) const = default;
};

TFontRecord readFontRecord(const TSettingsFile& file, const QString& section, const QString& prefix);
// All five keys in one replacement of the file.
void writeFontRecord(TSettingsFile& file, const QString& section, const QString& prefix,
                     const TFontRecord& font);

} // namespace vlr
