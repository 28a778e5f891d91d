#pragma once
// What survives of a damaged notebook file (cut short, partly overwritten):
// every note whose record and body can still be read, and bodies whose
// records are gone, found by their signatures. The damaged file is only read.
#include "storage/note_record.h"
#include "storage/notebook_header.h"
#include "storage/secure_bytes.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace vlr {

class TVlrLib;

struct SalvagedNote {
    // The note's record as read; a found body has a blank one.
    NoteRecord record;
    QByteArray body;
    bool named = false; // false: found by its signature, without a record
    // Its body is lost; the note is kept only to hold its surviving children.
    bool bodyLost = false;
    bool plainText = false;
};

struct SalvageCounts {
    int whole = 0;    // notes back with their record and body
    int nameless = 0; // bodies back without their records
    int lost = 0;     // notes whose bodies could not be read or found
    // Of the lost: bodies that are encrypted and could not be read without the key.
    int locked = 0;
};

struct SalvageResult {
    // Named notes in tree order, then found bodies in file order.
    QList<SalvagedNote> notes;
    SalvageCounts counts;
};

class DamagedNotebook {
public:
    enum class Failure { None, CannotRead, NeedsRecovery };

    // Reads the whole file under a shared lock (a writer saving it is waited
    // for). A file with a save cut short is refused: its journal must be
    // played back first, which this never does.
    bool read(const QString& path);
    Failure failure() const { return m_failure; }
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }

    // The header is a notebook's (magic and version); its fields are then
    // used, otherwise the tree table is looked for in the whole file.
    bool headerValid() const { return m_headerValid; }
    const NotebookHeader& header() const { return m_header; }
    // The header says the bodies are encrypted.
    bool encrypted() const;
    // Takes the master key from the header's key block with the password;
    // false for a wrong password (or a damaged key block).
    bool unlock(const QString& password);
    // The master key known already (the program's open notebook).
    void useKey(const MasterKeyBytes& key);
    bool keyHeld() const { return m_keyHeld; }
    const MasterKeyBytes& key() const { return m_key; }

    SalvageResult salvage() const;

private:
    struct Table;
    Table findRecords() const;

    TVlrLib* m_engine = nullptr;
    QString m_path;
    QByteArray m_bytes;
    NotebookHeader m_header;
    bool m_headerValid = false;
    MasterKeyBytes m_key;
    bool m_keyHeld = false;
    Failure m_failure = Failure::None;
    QString m_error;
};

// The name a found body gets: "Найдено 1", "Найдено 2"...
QString FoundNoteName(int number);

} // namespace vlr
