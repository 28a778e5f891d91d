#include "storage/notebook_file.h"

#include "storage/file_io.h"
#include "storage/protection.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr {

namespace {

// The two lock ranges lie beyond any notebook (offsets are 32-bit in the
// format), so neither ever covers the other.
constexpr off_t kSaveLockAt = off_t(1) << 62;

int g_lockWaitMs = 2000;

} // namespace

void NotebookFile::setLockWait(int ms) {
    g_lockWaitMs = qMax(0, ms);
}
int NotebookFile::lockWait() {
    return g_lockWaitMs;
}

NotebookFile::~NotebookFile() {
    close();
}

void NotebookFile::close() {
    if (m_fd >= 0)
        ::close(m_fd); // releases the locks with the description
    if (isFresh())
        fileio::removeFile(m_freshPath); // never published: nothing of it may stay
    m_fd = -1;
    m_pos = 0;
    m_readWrite = false;
    m_writable = false;
    m_freshPath.clear();
}

bool NotebookFile::failWith(int error) {
    m_error = StorageError::system(error);
    return false;
}

bool NotebookFile::lock(Range range, Kind kind, bool wait) {
    struct flock fl {};
    fl.l_type = kind == Kind::Exclusive ? F_WRLCK : kind == Kind::Shared ? F_RDLCK : F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = range == Range::Open ? 0 : kSaveLockAt;
    fl.l_len = range == Range::Open ? kSaveLockAt : 1;
    QElapsedTimer clock;
    clock.start();
    int pause = 1;
    for (;;) {
        if (::fcntl(m_fd, F_OFD_SETLK, &fl) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EACCES)
            return failWith(errno);
        // Polled rather than blocking: the wait must end, and a conversion
        // keeps the lock held so far while it waits.
        const qint64 left = wait ? g_lockWaitMs - clock.elapsed() : 0;
        if (left <= 0) {
            m_error = StorageError::of(StorageCause::InUse);
            return false;
        }
        QThread::msleep(ulong(qMin<qint64>(pause, left)));
        pause = qMin(pause * 2, 50);
    }
}

bool NotebookFile::openDescriptor(const QString& path, int flags) {
    close();
    m_error = {};
    m_fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (m_fd < 0)
        return failWith(errno);
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_error = StorageError::of(StorageCause::NotRegularFile);
        close();
        return false;
    }
    m_path = path;
    m_readWrite = (flags & O_ACCMODE) == O_RDWR;
    return true;
}

bool NotebookFile::open(const QString& path, Mode mode) {
    const bool write = mode == Mode::ReadWrite;
    if (!openDescriptor(path, write ? O_RDWR : O_RDONLY))
        return false;
    if (!lock(Range::Open, write ? Kind::Exclusive : Kind::Shared, write)) {
        const StorageError error = m_error;
        close();
        m_error = error;
        return false;
    }
    m_writable = write;
    return true;
}

bool NotebookFile::openForInspection(const QString& path) {
    if (!openDescriptor(path, O_RDONLY))
        return false;
    if (!lock(Range::Save, Kind::Shared, true)) {
        close();
        m_error = StorageError::of(StorageCause::BeingSaved);
        return false;
    }
    return true;
}

bool NotebookFile::createFresh(const QString& path) {
    close();
    m_error = {};
    const QFileInfo info(path);
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
        quint32 tag = 0;
        if (!systemRandom(&tag, sizeof tag))
            tag = quint32(::getpid()) * 2654435761u + quint32(attempt);
        const QString temp =
            info.absolutePath() +
            QStringLiteral("/.%1.%2.tmp").arg(info.fileName()).arg(tag, 8, 16, QLatin1Char('0'));
        error = fileio::createFile(temp, 0644, m_fd);
        if (error == 0)
            m_freshPath = temp;
    }
    if (error != 0)
        return failWith(error);
    m_path = path;
    m_readWrite = true;
    if (!lock(Range::Open, Kind::Exclusive, false)) {
        const StorageError e = m_error;
        close();
        m_error = e;
        return false;
    }
    m_writable = true;
    return true;
}

bool NotebookFile::publish() {
    if (!isFresh())
        return true;
    const int renamed = fileio::renameNoReplace(m_freshPath, m_path);
    if (renamed != 0) {
        m_error = renamed == EEXIST ? StorageError::of(StorageCause::Exists, m_path)
                                    : StorageError::system(renamed);
        return false;
    }
    m_freshPath.clear();
    const int synced = fileio::syncFolderOf(m_path);
    return synced == 0 || failWith(synced);
}

bool NotebookFile::lockForSaving() {
    if (!canWrite()) {
        m_error = StorageError::of(StorageCause::NotOpenForWriting);
        return false;
    }
    if (!lock(Range::Open, Kind::Exclusive, true) || !lock(Range::Save, Kind::Exclusive, true))
        return false;
    if (!isFresh()) {
        struct stat mine {};
        struct stat named {};
        if (::fstat(m_fd, &mine) != 0 || ::stat(QFile::encodeName(m_path).constData(), &named) != 0 ||
            mine.st_dev != named.st_dev || mine.st_ino != named.st_ino) {
            m_error = StorageError::of(StorageCause::Replaced, m_path);
            lock(Range::Save, Kind::None, false);
            return false;
        }
    }
    m_writable = true;
    return true;
}

void NotebookFile::unlockAfterSaving() {
    if (m_fd >= 0)
        lock(Range::Save, Kind::None, false);
}

void NotebookFile::keepForReading() {
    if (m_fd < 0)
        return;
    unlockAfterSaving();
    lock(Range::Open, Kind::Shared, false); // a downgrade never conflicts
    m_writable = false;
}

qint64 NotebookFile::size() const {
    struct stat st {};
    return (m_fd >= 0 && ::fstat(m_fd, &st) == 0) ? st.st_size : -1;
}

bool NotebookFile::seek(qint64 pos) {
    if (m_fd < 0 || pos < 0)
        return false;
    m_pos = pos;
    return true;
}

bool NotebookFile::readAt(qint64 pos, char* data, qint64 n) {
    if (m_fd < 0 || n < 0 || pos < 0)
        return false;
    qint64 done = 0;
    while (done < n) {
        const ssize_t r = ::pread(m_fd, data + done, size_t(n - done), off_t(pos + done));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0) {
            m_error = r == 0 ? StorageError::of(StorageCause::UnexpectedEnd) : StorageError::system(errno);
            return false;
        }
        done += r;
    }
    m_read += n;
    return true;
}

bool NotebookFile::readExact(char* data, qint64 n) {
    if (!readAt(m_pos, data, n))
        return false;
    m_pos += n;
    return true;
}

QByteArray NotebookFile::read(qint64 n) {
    const qint64 available = qMax<qint64>(0, size() - m_pos);
    QByteArray out(qsizetype(qMin(n, available)), Qt::Uninitialized);
    if (!readExact(out.data(), out.size()))
        return {};
    return out;
}

bool NotebookFile::writeAt(qint64 pos, const char* data, qint64 n) {
    if (!m_writable) {
        m_error = StorageError::of(StorageCause::NotOpenForWriting);
        return false;
    }
    const int error = fileio::writeAt(m_fd, writtenPath(), data, n, pos);
    if (error != 0)
        return failWith(error);
    m_written += n;
    return true;
}

bool NotebookFile::truncate(qint64 size) {
    if (!m_writable) {
        m_error = StorageError::of(StorageCause::NotOpenForWriting);
        return false;
    }
    const int error = fileio::truncateTo(m_fd, writtenPath(), size);
    return error == 0 || failWith(error);
}

bool NotebookFile::sync() {
    if (m_fd < 0)
        return false;
    const int error = fileio::syncData(m_fd, writtenPath());
    return error == 0 || failWith(error);
}

} // namespace vlr
