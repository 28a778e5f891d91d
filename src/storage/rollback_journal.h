#pragma once
// The rollback journal NAME-journal beside a notebook NAME: the old bytes of
// every region a save is about to overwrite or cut, and the old file size.
// It is durable before the notebook is touched and removed once the notebook
// is; a journal found with a valid header ("hot") means a save was cut short,
// and playing it back puts the notebook back as it was before that save.
//
// Layout (little-endian): a 32-byte header - "VLRJRNL1", a random salt
// (uint32), 4 zero bytes, the old size (int64), a CRC-32 of the 24 bytes
// before it, 4 zero bytes - then records: offset (int64), length (uint32),
// CRC-32 of the salt, these 12 bytes and the data; then the data. Playback
// stops at the first record that is incomplete or does not match: records
// are made durable before any byte they cover is overwritten, so a record
// that is not whole was never needed.
#include "storage/storage_error.h"

#include <QByteArray>
#include <QString>

namespace vlr {

class NotebookFile;

class RollbackJournal {
public:
    static QString pathFor(const QString& notebookPath);

    explicit RollbackJournal(const QString& notebookPath);
    ~RollbackJournal();
    RollbackJournal(const RollbackJournal&) = delete;
    RollbackJournal& operator=(const RollbackJournal&) = delete;

    // The journal was created by this object (it may be closed since).
    bool started() const { return m_created; }
    // Creates the journal (with the notebook's permissions) and its header.
    [[nodiscard]] bool start(qint64 oldSize, int notebookDescriptor);
    // Adds the old bytes at offset (any length; split into records here).
    [[nodiscard]] bool keep(qint64 offset, const char* data, qint64 size);
    // Makes everything kept so far durable; the first time also its name.
    [[nodiscard]] bool makeDurable();
    // Closes and deletes the journal and makes the deletion durable.
    // `removed` tells whether the name is gone even when the sync failed.
    [[nodiscard]] bool remove(bool& removed);
    // Closes without deleting (for playback).
    void close();

    qint64 bytesWritten() const { return m_written; }
    const StorageError& error() const { return m_error; }
    QString errorString() const { return describe(m_error); }

    enum class State {
        Absent,
        Incomplete, // header never made durable: no save touched the notebook
        Hot,
    };
    // Looks at the journal of a notebook without changing anything.
    static State probe(const QString& notebookPath);

    struct Playback {
        bool ok = false;
        bool hadJournal = false;
        int regions = 0;
        qint64 bytes = 0;
        StorageError error;
    };
    // With the notebook locked for saving: writes the old regions back, cuts
    // the file to its old size, syncs it and removes the journal. An
    // incomplete journal is only removed. When this fails the journal stays.
    static Playback playBack(NotebookFile& notebook);

private:
    bool fail(int error);
    bool flushBuffer();

    QString m_path;
    int m_fd = -1;
    bool m_created = false;
    quint32 m_salt = 0;
    qint64 m_end = 0; // where the next bytes go
    QByteArray m_buffer;
    bool m_dirty = false;
    bool m_nameDurable = false;
    qint64 m_written = 0;
    StorageError m_error;
};

// Plays back a hot journal of the notebook at path (vlr recover): takes the
// file's locks for saving first, so never while another process writes it.
RollbackJournal::Playback RecoverNotebookFile(const QString& path);

} // namespace vlr
