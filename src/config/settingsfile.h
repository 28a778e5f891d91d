#pragma once
// The settings file (vellinor.ini and its kin): a profile file with the
// semantics every section of the program relies on. Section and key names
// are compared without regard to case. Nothing is cached: every read goes to
// the file and every write changes it at once, so two writers and a hand edit
// never lose each other's keys. A value is read up to 2047 characters, with
// one pair of enclosing double quotes dropped. The file is Windows-1251; a
// file that has to hold characters Windows-1251 cannot is kept as UTF-8 with
// a byte-order mark, and read back as such.
//
// Writes replace the file atomically (a temporary file in the same folder,
// flushed, then renamed), so a crash never leaves a cut file. A failed write
// throws EVellinorError "Unable to write to <file>"; the old file stays.
#include "config/initext.h"

#include <QString>
#include <QStringList>

namespace vlr {

// One section read at once, for callers that read many of its keys.
class TSettingsSection {
public:
    TSettingsSection() = default;
    explicit TSettingsSection(TSettingsEntries entries) : m_entries(std::move(entries)) {}
    bool contains(const QString& key) const;
    // As TSettingsFile::readString.
    QString readString(const QString& key, const QString& def = {}) const;
    QStringList keys() const;

private:
    TSettingsEntries m_entries;
};

class TSettingsFile {
public:
    static constexpr int kMaxValueLength = 2047;
    // Larger files are not read (every read gives its default) and not written.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    explicit TSettingsFile(QString path) : m_path(std::move(path)) {}
    const QString& fileName() const { return m_path; }

    QString readString(const QString& section, const QString& key, const QString& def = {}) const;
    int readInteger(const QString& section, const QString& key, int def) const;
    quint32 readColor(const QString& section, const QString& key, quint32 def) const;
    bool readBool(const QString& section, const QString& key, bool def) const;
    // With the system decimal separator (a point is read as well).
    double readFloat(const QString& section, const QString& key, double def) const;
    // A comma-text list; a missing key is the empty list.
    QStringList readList(const QString& section, const QString& key) const;

    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    QStringList sections() const;
    TSettingsSection readSection(const QString& section) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeColor(const QString& section, const QString& key, quint32 value);
    void writeBool(const QString& section, const QString& key, bool value);
    void writeFloat(const QString& section, const QString& key, double value);
    // Comma text with the extra "," the file form asks for.
    void writeList(const QString& section, const QString& key, const QStringList& items);
    // Several keys of one section in one atomic replacement.
    void writeValues(const QString& section, const TSettingsEntries& values);
    void deleteKey(const QString& section, const QString& key);
    void eraseSection(const QString& section);

private:
    struct Loaded {
        TIniText text;
        bool utf8 = false;
        bool tooLarge = false;
        bool unreadable = false;
        QByteArray bytes;
    };
    Loaded load() const;
    void save(const Loaded& before, const TIniText& after) const;
    [[noreturn]] void fail() const;
    void checkNames(const QString& section, const QString& key) const;

    QString m_path;
};

// What a written value becomes in the file: line breaks cannot live in a
// profile line and turn into blanks; a value the reader would trim or
// unquote is put in quotes so it reads back unchanged.
QString protectProfileValue(const QString& value);
// The reader's side: enclosing quotes dropped, cut to the maximum length.
QString unprotectProfileValue(const QString& raw);

} // namespace vlr
