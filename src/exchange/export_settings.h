#pragma once
// The export wizard's remembered choices, kept in the settings file: section
// "ExportOptions" for exporting notes, "ExportNoteOptions" for one note.
#include "config/fontrecord.h"

#include <QStringList>

#include <optional>

namespace vlr {

struct TVLROptions;
class TSettingsFile;

inline const QString kExportOptionsSection = QStringLiteral("ExportOptions");
inline const QString kExportNoteOptionsSection = QStringLiteral("ExportNoteOptions");

enum class TSeparation { Nothing, PageBreak, Text };

// How the notes of a combined document are introduced and closed.
struct TExportLayout {
    TFontRecord headerFont, footerFont, separatorFont;
    QString separator = QString(44, u'=');
    bool insertHeader = true;
    bool insertFooter = true;
    QStringList header{QStringLiteral("$N")};
    QStringList footer{QStringLiteral("Created in $DC by $A")};
    bool centerHeader = false;
    bool centerFooter = false;
    bool centerSeparator = false;
    TSeparation separation = TSeparation::Text;
};

struct TExportSettings {
    TExportLayout layout;
    bool zoom = false;          // the final preview at 75 %
    std::optional<bool> zoom2;  // the note preview's zoom; none: as the box starts
    std::optional<int> tvWidth; // width of the export tree; none: the tree's own
    bool exportPictures = true;
    bool tabsToNbsp = false;
    bool useBackColor = true;
    bool formatText = false;
    int lineWidth = 70;
    bool vlrCompress = false;
    bool vlrEncrypt = false;
};

// Missing keys take the defaults above; the packing and enciphering of a new
// notebook default to the program's DefCompress and DefEncrypt.
TExportSettings ReadExportSettings(const TSettingsFile& file, const QString& section,
                                   const TVLROptions& options);
// False when the file could not be written (the wizard carries on regardless).
bool WriteExportSettings(TSettingsFile& file, const QString& section, const TExportSettings& settings);

// The remembered separator texts of the editor's separator menu.
QStringList ReadSeparatorTexts(const TSettingsFile& file);

} // namespace vlr
