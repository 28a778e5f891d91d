#pragma once
// One save of a notebook as a whole: it reaches the file completely or not
// at all. Writes are queued; before any byte of the old file is overwritten
// or cut, its old content goes into the rollback journal, which is made
// durable first. Bytes that a write would leave as they are are neither
// journaled nor written, so rewriting an unchanged tree table costs a read.
// Commit syncs the notebook and removes the journal; rollback plays the
// journal back. A new file (NotebookFile::createFresh) needs no journal: it
// gets its name only once it is complete and synced.
#include "storage/rollback_journal.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <limits>
#include <map>

namespace vlr {

class NotebookFile;

class SaveTransaction {
public:
    // The file must be locked for saving for the whole transaction.
    explicit SaveTransaction(NotebookFile& file);
    ~SaveTransaction();
    SaveTransaction(const SaveTransaction&) = delete;
    SaveTransaction& operator=(const SaveTransaction&) = delete;

    // Queued writes are applied when they reach this many bytes (and at commit).
    static void setQueueLimit(qint64 bytes);
    static qint64 queueLimit();

    [[nodiscard]] bool write(qint64 pos, const QByteArray& data);
    [[nodiscard]] bool truncate(qint64 size);
    // Reads the file as the writes so far have left it.
    [[nodiscard]] bool read(qint64 pos, char* data, qint64 n);
    // Where the last write ended.
    qint64 end() const { return m_end; }

    [[nodiscard]] bool commit();
    // Puts the file back as it was when the transaction began. False when
    // that failed: the journal then stays and is played back when the file
    // is next opened or saved.
    [[nodiscard]] bool rollback();
    // The new content is in the file (the journal is gone or the new file
    // has its name) even if commit reported a later failure.
    bool reachedFile() const { return m_reached; }

    const StorageError& error() const { return m_error; }
    QString errorString() const { return describe(m_error); }
    qint64 journalBytes() const { return m_journal.bytesWritten(); }

private:
    struct Pending {
        qint64 pos = 0;
        QByteArray data;
        qint64 cutTo = -1; // a truncation when >= 0
    };
    struct Action {
        qint64 pos = 0;   // write position, or the size of a truncation
        qint64 size = -1; // bytes of data, or -1 for a truncation
        const char* data = nullptr;
    };

    bool flush();
    bool overlapsQueue(qint64 from, qint64 to) const;
    void clearQueue();
    bool planWrite(const Pending& op, qint64 diskSize, QList<Action>& actions);
    bool planCut(qint64 cutTo, qint64 diskSize, qint64 sizeThen, QList<Action>& actions);
    // Journals the parts of [pos, pos + size) below the old size that are not
    // journaled yet; `old` holds the bytes there now.
    bool protect(qint64 pos, const char* old, qint64 size);
    bool ensureJournal();
    bool fail(const StorageError& why);

    NotebookFile& m_file;
    RollbackJournal m_journal;
    const bool m_fresh;
    const qint64 m_oldSize;
    QList<Pending> m_queue;
    std::map<qint64, qint64> m_queuedRanges; // queued writes: start -> end
    qint64 m_queuedCut = std::numeric_limits<qint64>::max();
    qint64 m_queued = 0;
    qint64 m_end = 0;
    bool m_changed = false;
    bool m_finished = false;
    bool m_reached = false;
    std::map<qint64, qint64> m_kept; // journaled ranges: start -> end
    QByteArray m_scratch;            // the file's bytes being compared
    StorageError m_error;
};

} // namespace vlr
