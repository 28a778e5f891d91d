#pragma once
// An open notebook file and its locks. On Linux these are open-file-
// description locks that every Vellinor process and vlr take, on two ranges
// far apart:
// - the open lock: a writer holds it exclusively, a reader shared, so a
//   notebook open for writing anywhere cannot be opened for writing (or
//   locked for reading) elsewhere, and readers keep writers out;
// - the save lock: held exclusively while a save changes the file (until its
//   journal is gone) and shared by inspectors that read without the open
//   lock, so they never read a file half saved.
// A writer never lets go of its open lock between reading the notebook and
// saving it: the lock is converted in place, never dropped and taken again.
#include "storage/storage_error.h"

#include <QByteArray>
#include <QString>

namespace vlr {

class NotebookFile {
public:
    enum class Mode { Read, ReadWrite };
    NotebookFile() = default;
    ~NotebookFile();
    NotebookFile(const NotebookFile&) = delete;
    NotebookFile& operator=(const NotebookFile&) = delete;

    // How long a writer waits for another process's lock (milliseconds),
    // for the whole process.
    static void setLockWait(int ms);
    static int lockWait();

    // Read: shared open lock, at once or not at all. ReadWrite: exclusive
    // open lock, waiting up to lockWait(). False (with errorString) when the
    // file cannot be opened or the lock cannot be had.
    bool open(const QString& path, Mode mode);
    // Reads without the open lock, while the save lock is held shared (waited
    // for up to lockWait()): for inspection even while a writer holds the file.
    bool openForInspection(const QString& path);
    // A new file for `path`, under a temporary name in the same folder and
    // locked for writing; publish() gives it its name. Until then the name is
    // untouched, and closing removes the temporary file.
    bool createFresh(const QString& path);
    [[nodiscard]] bool publish();
    void close();
    bool isOpen() const { return m_fd >= 0; }
    bool isFresh() const { return !m_freshPath.isEmpty(); }
    // Holds the exclusive open lock on a descriptor that can write.
    bool writable() const { return m_writable; }
    // The file could be written if its lock allowed (opened read and write).
    bool canWrite() const { return m_fd >= 0 && m_readWrite; }
    QString path() const { return m_path; }
    const StorageError& error() const { return m_error; }
    QString errorString() const { return describe(m_error); }
    void setError(const StorageError& error) { m_error = error; }

    // Exclusive open lock and exclusive save lock, each waited for up to
    // lockWait(); also checks that the name still leads to this file.
    [[nodiscard]] bool lockForSaving();
    // Gives the save lock back; the open lock stays exclusive.
    void unlockAfterSaving();
    // The open lock becomes shared: others may read, nobody writes.
    void keepForReading();

    qint64 size() const;
    qint64 pos() const { return m_pos; }
    bool seek(qint64 pos);
    // Reads exactly n bytes at the position; false when fewer are there.
    bool readExact(char* data, qint64 n);
    QByteArray read(qint64 n); // up to n bytes
    bool readAt(qint64 pos, char* data, qint64 n);

    // Raw changes, for the save transaction only: each result is checked
    // there and a failure undoes the whole save.
    bool writeAt(qint64 pos, const char* data, qint64 n);
    bool truncate(qint64 size);
    bool sync();
    int descriptor() const { return m_fd; }
    // The name the file is written under (the temporary one while fresh).
    QString writtenPath() const { return isFresh() ? m_freshPath : m_path; }

    // Bytes moved through this object over all its opens (for measurements).
    qint64 bytesWritten() const { return m_written; }
    qint64 bytesRead() const { return m_read; }

private:
    enum class Range { Open, Save };
    enum class Kind { Shared, Exclusive, None };
    bool lock(Range range, Kind kind, bool wait);
    bool openDescriptor(const QString& path, int flags);
    bool failWith(int error);

    int m_fd = -1;
    QString m_path;
    QString m_freshPath;
    qint64 m_pos = 0;
    bool m_readWrite = false;
    bool m_writable = false;
    qint64 m_written = 0;
    qint64 m_read = 0;
    StorageError m_error;
};

} // namespace vlr
