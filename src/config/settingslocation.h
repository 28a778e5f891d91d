#pragma once
// Where the settings file is: fixed once at start-up, used by every reader
// and writer of the file until exit.
#include "config/registry.h"

#include <QString>
#include <QStringList>

namespace vlr {

inline const QString kSettingsFileName = QStringLiteral("vellinor.ini");
// The first-run template, turned into the settings file when that is missing.
inline const QString kSettingsTemplateName = QStringLiteral("vellinor.def");
// Appended to the application title when running portable.
inline const QString kPortableTitleSuffix = QStringLiteral(" portable");

struct TSettingsLocation {
    QString folder;   // with a trailing "/"
    QString filePath; // the settings file
    bool portable = false;
};

// In this order: vellinor.ini beside the program (portable); the registry's
// "ConfigFolder" when it exists or can be created; the per-user settings
// folder when it exists or can be created; the program's folder. A missing
// vellinor.ini is then made by moving vellinor.def of that folder. Last, a
// first argument whose extension is exactly ".ini" names the file (a bare
// name is taken from the program's folder) while the folder stays as found.
// arguments excludes the program itself.
TSettingsLocation locateSettingsFile(const QString& programFolder, const QStringList& arguments,
                                     const TVellinorRegistry& registry,
                                     const QString& userFolder = userSettingsFolder());

// The same for the running program: its folder, the per-user registry and
// the per-user settings folder.
TSettingsLocation locateSettingsFile(const QStringList& arguments);

// When not portable and the registry key does not exist yet, creates it with
// the program's folder (trailing "/") as its default value. An existing key is
// left alone; failures are silent.
void registerProgramFolder(TVellinorRegistry& registry, const QString& programFolder, bool portable);

} // namespace vlr
