#pragma once
// Section "Options" of the settings file and the two options kept outside
// it (autostart and the .vlr association).
#include "config/desktopintegration.h"
#include "config/options.h"
#include "config/settingsfile.h"

namespace vlr {

inline const QString kOptionsSection = QStringLiteral("Options");

// Overlays the record with the keys present in section "Options"; a missing
// or unreadable key keeps the record's value. Then the two outside options
// are set from what exists.
void readOptions(const TSettingsFile& file, TVLROptions& options, const TDesktopIntegration& desktop);

// Writes every key of section "Options" in one replacement of the file
// (throws "Unable to write to <file>" when that fails), then creates or
// removes the autostart entry and the association. Failures of the latter
// are not errors: the next read shows what is really there.
void writeOptions(TSettingsFile& file, const TVLROptions& options, TDesktopIntegration& desktop);

// The file form of the notebook comments: characters below 32 (and "#"
// itself, so that a typed "#41" survives) become "#" and two upper-case
// hexadecimal digits. Reading turns "#" and two characters back into the
// character with that code (a space when they are no hexadecimal number).
QString escapeComments(const QString& text);
QString unescapeComments(const QString& text);

// The hot key as its display text ("Ctrl+Alt+N"), and back. Text that is not
// one key with its modifiers gives no hot key.
QString hotKeyText(const QKeySequence& key);
QKeySequence hotKeyFromText(const QString& text);

} // namespace vlr
