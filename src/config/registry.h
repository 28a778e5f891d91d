#pragma once
// The per-user values the program keeps outside its settings file: the
// program's folder (the key's default value), "ConfigFolder" (where the
// settings file lives; the program only reads it) and "OpenFileCmdLine" (the
// command-line hand-over). They live in registry.ini, section "Vellinor", in
// the per-user settings folder; the default value is kept under "@".
#include "config/settingsfile.h"

#include <QString>

namespace vlr {

class TVellinorRegistry {
public:
    static inline const QString kConfigFolder = QStringLiteral("ConfigFolder");
    static inline const QString kOpenFileCmdLine = QStringLiteral("OpenFileCmdLine");
    // The name standing for the key's default value.
    static inline const QString kDefaultValue = QString();

    // <per-user settings folder>/registry.ini
    static QString defaultPath();
    explicit TVellinorRegistry(QString path = defaultPath());
    const QString& fileName() const { return m_file.fileName(); }

    bool keyExists() const;
    bool hasValue(const QString& name) const;
    QString value(const QString& name) const;
    // Creates the file and its folders when needed; false when that fails.
    bool setValue(const QString& name, const QString& value);
    bool deleteValue(const QString& name);

private:
    TSettingsFile m_file;
};

// $XDG_CONFIG_HOME/Orvanta/Vellinor/, with the trailing "/".
QString userSettingsFolder();

} // namespace vlr
