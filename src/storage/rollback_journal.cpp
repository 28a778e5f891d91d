#include "storage/rollback_journal.h"

#include "storage/field_codec.h"
#include "storage/file_io.h"
#include "storage/notebook_file.h"
#include "storage/protection.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace vlr {

namespace {

constexpr char kMagic[8] = {'V', 'L', 'R', 'J', 'R', 'N', 'L', '1'};
constexpr qint64 kHeaderBytes = 32;
constexpr qint64 kRecordHead = 16;
// Records are at most this long, so playback never holds more in memory.
constexpr qint64 kRecordMax = qint64(1) << 20;
constexpr qsizetype kBufferMax = qsizetype(1) << 20;

quint32 crcOf(quint32 crc, const char* data, qint64 size) {
    while (size > 0) {
        const uInt n = uInt(qMin<qint64>(size, 1 << 30));
        crc = quint32(::crc32(crc, reinterpret_cast<const Bytef*>(data), n));
        data += n;
        size -= n;
    }
    return crc;
}

const unsigned char* u8(const char* p) {
    return reinterpret_cast<const unsigned char*>(p);
}
unsigned char* u8(char* p) {
    return reinterpret_cast<unsigned char*>(p);
}

void putI64(char* p, qint64 v) {
    codec::putU32(u8(p), quint32(quint64(v) & 0xFFFFFFFFu));
    codec::putU32(u8(p) + 4, quint32(quint64(v) >> 32));
}
qint64 getI64(const char* p) {
    return qint64(quint64(codec::getU32(u8(p))) | (quint64(codec::getU32(u8(p) + 4)) << 32));
}

quint32 recordCrc(quint32 salt, const char* head12, const char* data, qint64 size) {
    char saltBytes[4];
    codec::putU32(u8(saltBytes), salt);
    quint32 crc = crcOf(0, saltBytes, 4);
    crc = crcOf(crc, head12, 12);
    return crcOf(crc, data, size);
}

// Reads exactly n bytes at pos; false at the end of the file or on an error.
bool readFully(int fd, qint64 pos, char* data, qint64 n) {
    qint64 done = 0;
    while (done < n) {
        const ssize_t r = ::pread(fd, data + done, size_t(n - done), off_t(pos + done));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        done += r;
    }
    return true;
}

struct Header {
    bool valid = false;
    quint32 salt = 0;
    qint64 oldSize = 0;
};

Header readHeader(int fd) {
    char h[kHeaderBytes];
    Header out;
    if (!readFully(fd, 0, h, kHeaderBytes) || std::memcmp(h, kMagic, sizeof kMagic) != 0)
        return out;
    if (codec::getU32(u8(h) + 24) != crcOf(0, h, 24))
        return out;
    out.salt = codec::getU32(u8(h) + 8);
    out.oldSize = getI64(h + 16);
    out.valid = out.oldSize >= 0;
    return out;
}

int openForReading(const QString& path) {
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
}

} // namespace

QString RollbackJournal::pathFor(const QString& notebookPath) {
    // Beside the file itself, however it is reached: through a symbolic link
    // or not, every opener finds the same journal.
    const QString real = QFileInfo(notebookPath).canonicalFilePath();
    return (real.isEmpty() ? notebookPath : real) + QStringLiteral("-journal");
}

RollbackJournal::RollbackJournal(const QString& notebookPath) : m_path(pathFor(notebookPath)) {}

RollbackJournal::~RollbackJournal() {
    close();
}

void RollbackJournal::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_buffer.clear();
}

bool RollbackJournal::fail(int error) {
    m_error = StorageError::system(error, m_path);
    return false;
}

bool RollbackJournal::start(qint64 oldSize, int notebookDescriptor) {
    struct stat st {};
    // Old bytes must be no more readable than the notebook they come from.
    const int mode = ::fstat(notebookDescriptor, &st) == 0 ? int(st.st_mode & 0666) : 0600;
    const int created = fileio::createFile(m_path, mode, m_fd);
    if (created != 0)
        return fail(created);
    m_created = true;
    if (!systemRandom(&m_salt, sizeof m_salt))
        m_salt = quint32(oldSize) ^ quint32(::getpid());
    char h[kHeaderBytes] = {};
    std::memcpy(h, kMagic, sizeof kMagic);
    codec::putU32(u8(h) + 8, m_salt);
    putI64(h + 16, oldSize);
    codec::putU32(u8(h) + 24, crcOf(0, h, 24));
    m_buffer = QByteArray(h, kHeaderBytes);
    m_end = 0;
    m_dirty = true;
    m_nameDurable = false;
    return true;
}

bool RollbackJournal::flushBuffer() {
    if (m_buffer.isEmpty())
        return true;
    const int error = fileio::writeAt(m_fd, m_path, m_buffer.constData(), m_buffer.size(), m_end);
    if (error != 0)
        return fail(error);
    m_end += m_buffer.size();
    m_written += m_buffer.size();
    m_buffer.clear();
    return true;
}

bool RollbackJournal::keep(qint64 offset, const char* data, qint64 size) {
    if (m_fd < 0) {
        m_error = StorageError::of(StorageCause::JournalNotStarted, m_path);
        return false;
    }
    while (size > 0) {
        const qint64 n = qMin(size, kRecordMax);
        char head[kRecordHead];
        putI64(head, offset);
        codec::putU32(u8(head) + 8, quint32(n));
        codec::putU32(u8(head) + 12, recordCrc(m_salt, head, data, n));
        if (m_buffer.size() + kRecordHead + n > kBufferMax && !flushBuffer())
            return false;
        m_buffer.append(head, kRecordHead);
        m_buffer.append(data, qsizetype(n));
        m_dirty = true;
        offset += n;
        data += n;
        size -= n;
    }
    return true;
}

bool RollbackJournal::makeDurable() {
    if (!flushBuffer())
        return false;
    if (m_dirty) {
        const int error = fileio::syncData(m_fd, m_path);
        if (error != 0)
            return fail(error);
        m_dirty = false;
    }
    if (!m_nameDurable) {
        const int error = fileio::syncFolderOf(m_path);
        if (error != 0)
            return fail(error);
        m_nameDurable = true;
    }
    return true;
}

bool RollbackJournal::remove(bool& removed) {
    close();
    removed = false;
    const int error = fileio::removeFile(m_path);
    if (error != 0 && error != ENOENT)
        return fail(error);
    removed = true;
    const int synced = fileio::syncFolderOf(m_path);
    return synced == 0 || fail(synced);
}

RollbackJournal::State RollbackJournal::probe(const QString& notebookPath) {
    const int fd = openForReading(pathFor(notebookPath));
    if (fd < 0)
        return errno == ENOENT ? State::Absent : State::Hot; // unreadable: assume the worst
    const Header h = readHeader(fd);
    ::close(fd);
    return h.valid ? State::Hot : State::Incomplete;
}

RollbackJournal::Playback RollbackJournal::playBack(NotebookFile& notebook) {
    Playback out;
    const QString path = pathFor(notebook.path());
    const int fd = openForReading(path);
    if (fd < 0) {
        out.ok = errno == ENOENT;
        if (!out.ok)
            out.error = StorageError::system(errno, path);
        return out;
    }
    out.hadJournal = true;
    const Header h = readHeader(fd);
    bool applied = true;
    if (h.valid) {
        QByteArray data;
        qint64 at = kHeaderBytes;
        char head[kRecordHead];
        while (readFully(fd, at, head, kRecordHead)) {
            const qint64 offset = getI64(head);
            const qint64 length = codec::getU32(u8(head) + 8);
            if (offset < 0 || length <= 0 || length > kRecordMax || offset + length > h.oldSize)
                break;
            data.resize(qsizetype(length));
            if (!readFully(fd, at + kRecordHead, data.data(), length) ||
                recordCrc(h.salt, head, data.constData(), length) != codec::getU32(u8(head) + 12))
                break;
            if (!notebook.writeAt(offset, data.constData(), length)) {
                applied = false;
                break;
            }
            ++out.regions;
            out.bytes += length;
            at += kRecordHead + length;
        }
        applied = applied && notebook.truncate(h.oldSize) && notebook.sync();
    }
    ::close(fd);
    if (!applied) {
        out.error = notebook.error();
        return out;
    }
    int error = fileio::removeFile(path);
    if (error == 0 || error == ENOENT)
        error = fileio::syncFolderOf(path);
    if (error != 0) {
        out.error = StorageError::system(error, path);
        return out;
    }
    out.ok = true;
    return out;
}

RollbackJournal::Playback RecoverNotebookFile(const QString& path) {
    NotebookFile file;
    RollbackJournal::Playback out;
    if (!file.open(path, NotebookFile::Mode::ReadWrite) || !file.lockForSaving()) {
        out.error = file.error();
        return out;
    }
    out = RollbackJournal::playBack(file);
    file.close();
    return out;
}

} // namespace vlr
