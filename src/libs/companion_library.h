#pragma once
// Loads one companion library by its full path and resolves its exports
// from a table, so that a library counts as loaded only when the file loaded
// and every required name resolved.
#include <QFunctionPointer>
#include <QLibrary>
#include <QString>

#include <span>

namespace vlr {

class CompanionLibrary {
public:
    struct Export {
        const char* name;
        bool required;
    };

    // The library stays mapped after this object dies (QLibrary never unloads
    // on destruction): static objects elsewhere may still point into it.
    explicit CompanionLibrary(QString fileName);
    CompanionLibrary(const CompanionLibrary&) = delete;
    CompanionLibrary& operator=(const CompanionLibrary&) = delete;

    // The folder loads come from; the program's folder while empty.
    void setFolder(const QString& folder) { m_folder = folder; }
    QString folder() const;

    // True when loaded; otherwise tries once to load folder/fileName and fill
    // `resolved` (one slot per export, null for an absent optional one). On
    // failure nothing stays loaded, every slot is null and errorString() says
    // why.
    bool loadIfNeeded(std::span<const Export> exports, std::span<QFunctionPointer> resolved);
    void unload(std::span<QFunctionPointer> resolved);
    bool isLoaded() const { return m_loaded; }
    QString errorString() const { return m_error; }
    const QString& fileName() const { return m_fileName; }

private:
    bool load(std::span<const Export> exports, std::span<QFunctionPointer> resolved);

    QString m_fileName;
    QString m_folder;
    QLibrary m_library;
    QString m_error;
    bool m_loaded = false;
};

} // namespace vlr
