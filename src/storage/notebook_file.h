#pragma once
// An open notebook file with writes by other processes denied. On Linux this
// is an open-file-description lock that every Vellinor process and vlr take:
// a writer holds an exclusive lock, a reader a shared one, so a notebook open
// for writing anywhere cannot be opened for writing (or locked for reading)
// elsewhere, and readers keep writers out.
#include <QByteArray>
#include <QString>

namespace vlr {

class NotebookFile {
public:
    enum class Mode { Read, ReadWrite, Create };
    NotebookFile() = default;
    ~NotebookFile();
    NotebookFile(const NotebookFile&) = delete;
    NotebookFile& operator=(const NotebookFile&) = delete;

    // Opens and locks; false (with errorString) when the file cannot be opened
    // or another process holds a conflicting lock.
    bool open(const QString& path, Mode mode);
    // Opens for reading without taking a lock (inspection tools only).
    bool openUnlocked(const QString& path);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    bool writable() const { return m_writable; }
    QString errorString() const { return m_error; }

    qint64 size() const;
    qint64 pos() const { return m_pos; }
    bool seek(qint64 pos);
    // Reads exactly n bytes at the position; false when fewer are there.
    bool readExact(char* data, qint64 n);
    QByteArray read(qint64 n); // up to n bytes
    bool write(const char* data, qint64 n);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    bool truncate(qint64 size);
    bool flush();

    // Bytes moved through this object over all its opens (for measurements).
    qint64 bytesWritten() const { return m_written; }
    qint64 bytesRead() const { return m_read; }

private:
    bool lock(bool exclusive);

    int m_fd = -1;
    qint64 m_pos = 0;
    bool m_writable = false;
    qint64 m_written = 0;
    qint64 m_read = 0;
    QString m_error;
};

} // namespace vlr
