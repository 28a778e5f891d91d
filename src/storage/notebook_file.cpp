#include "storage/notebook_file.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr {

NotebookFile::~NotebookFile() { close(); }

void NotebookFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock with the description
    m_fd = -1;
    m_pos = 0;
    m_writable = false;
}

bool NotebookFile::lock(bool exclusive)
{
    struct flock fl {};
    fl.l_type = exclusive ? F_WRLCK : F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0; // the whole file, however it grows
    if (::fcntl(m_fd, F_OFD_SETLK, &fl) == 0)
        return true;
    m_error = (errno == EAGAIN || errno == EACCES) ? QStringLiteral("the notebook is in use by another process")
                                                   : QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool NotebookFile::open(const QString& path, Mode mode)
{
    close();
    m_error.clear();
    const QByteArray name = QFile::encodeName(path);
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Read: flags |= O_RDONLY; break;
    case Mode::ReadWrite: flags |= O_RDWR; break;
    case Mode::Create: flags |= O_RDWR | O_CREAT; break;
    }
    m_fd = ::open(name.constData(), flags, 0644);
    if (m_fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) == 0 && !S_ISREG(st.st_mode)) {
        m_error = QStringLiteral("not a regular file");
        close();
        return false;
    }
    m_writable = mode != Mode::Read;
    if (!lock(m_writable)) {
        close();
        return false;
    }
    return true;
}

bool NotebookFile::openUnlocked(const QString& path)
{
    close();
    m_error.clear();
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

qint64 NotebookFile::size() const
{
    struct stat st {};
    return (m_fd >= 0 && ::fstat(m_fd, &st) == 0) ? st.st_size : -1;
}

bool NotebookFile::seek(qint64 pos)
{
    if (m_fd < 0 || pos < 0)
        return false;
    m_pos = pos;
    return true;
}

bool NotebookFile::readExact(char* data, qint64 n)
{
    if (m_fd < 0 || n < 0)
        return false;
    qint64 done = 0;
    while (done < n) {
        const ssize_t r = ::pread(m_fd, data + done, static_cast<size_t>(n - done), m_pos + done);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0) {
            m_error = r == 0 ? QStringLiteral("unexpected end of file") : QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        done += r;
    }
    m_pos += n;
    m_read += n;
    return true;
}

QByteArray NotebookFile::read(qint64 n)
{
    const qint64 available = qMax<qint64>(0, size() - m_pos);
    QByteArray out(static_cast<qsizetype>(qMin(n, available)), Qt::Uninitialized);
    if (!readExact(out.data(), out.size()))
        return {};
    return out;
}

bool NotebookFile::write(const char* data, qint64 n)
{
    if (m_fd < 0 || !m_writable) {
        m_error = QStringLiteral("the notebook file is not open for writing");
        return false;
    }
    qint64 done = 0;
    while (done < n) {
        const ssize_t w = ::pwrite(m_fd, data + done, static_cast<size_t>(n - done), m_pos + done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        done += w;
    }
    m_pos += n;
    m_written += n;
    return true;
}

bool NotebookFile::truncate(qint64 size)
{
    if (m_fd < 0 || !m_writable || ::ftruncate(m_fd, size) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

bool NotebookFile::flush() { return m_fd >= 0 && (!m_writable || ::fdatasync(m_fd) == 0); }

} // namespace vlr
