#include "storage/file_io.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace vlr::fileio {

namespace {

std::atomic<Hook*> g_hook{nullptr};

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

Event event(Op op, const QString& path, const QString& target = {}, qint64 offset = 0,
            QByteArrayView data = {}) {
    Event e{op, path, target, offset, data};
    return e;
}

// Asks the hook; true when the call must go ahead. Otherwise result holds
// what to report.
bool allowed(const Event& e, int& result, qint64* partial = nullptr) {
    Hook* hook = g_hook.load(std::memory_order_acquire);
    if (!hook)
        return true;
    const Verdict v = hook->before(e);
    switch (v.kind) {
    case Verdict::Proceed:
        return true;
    case Verdict::Skip:
        result = 0;
        return false;
    case Verdict::Fail:
        result = v.error ? v.error : EIO;
        if (partial)
            *partial = qBound<qint64>(0, v.partial, qint64(e.data.size()));
        return false;
    }
    return true;
}

int writeLoop(int fd, const char* data, qint64 size, qint64 offset) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t w = ::pwrite(fd, data + done, size_t(size - done), off_t(offset + done));
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0)
            return errno;
        if (w == 0)
            return EIO; // no progress: never loop forever
        done += w;
    }
    return 0;
}

} // namespace

void setHook(Hook* hook) {
    g_hook.store(hook, std::memory_order_release);
}

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

int createFile(const QString& path, int mode, int& fd) {
    fd = -1;
    int result = 0;
    if (!allowed(event(Op::Create, path), result))
        return result != 0 ? result : EIO; // no descriptor can be pretended
    fd = ::open(native(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    return fd >= 0 ? 0 : errno;
}

int writeAt(int fd, const QString& path, const char* data, qint64 size, qint64 offset) {
    if (size <= 0)
        return 0;
    int result = 0;
    qint64 partial = 0;
    if (!allowed(event(Op::Write, path, {}, offset, QByteArrayView(data, size)), result, &partial)) {
        if (result != 0 && partial > 0)
            writeLoop(fd, data, partial, offset);
        return result;
    }
    return writeLoop(fd, data, size, offset);
}

int truncateTo(int fd, const QString& path, qint64 size) {
    int result = 0;
    if (!allowed(event(Op::Truncate, path, {}, size), result))
        return result;
    while (::ftruncate(fd, off_t(size)) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

int syncData(int fd, const QString& path) {
    int result = 0;
    if (!allowed(event(Op::Sync, path), result))
        return result;
    return ::fdatasync(fd) == 0 ? 0 : errno;
}

int removeFile(const QString& path) {
    int result = 0;
    if (!allowed(event(Op::Remove, path), result))
        return result;
    return ::unlink(native(path).constData()) == 0 ? 0 : errno;
}

int renameNoReplace(const QString& from, const QString& to) {
    int result = 0;
    if (!allowed(event(Op::Rename, from, to), result))
        return result;
    const QByteArray a = native(from);
    const QByteArray b = native(to);
    if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without the flag: a second link never replaces anything.
    if (::link(a.constData(), b.constData()) != 0)
        return errno;
    ::unlink(a.constData()); // the new name is in place; a leftover old name is harmless
    return 0;
}

int syncFolderOf(const QString& filePath) {
    const QString folder = QFileInfo(filePath).absolutePath();
    int result = 0;
    if (!allowed(event(Op::SyncFolder, folder), result))
        return result;
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int r = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // Some file systems cannot sync a folder; their entries are durable by other means.
    return (r == EINVAL || r == EROFS) ? 0 : r;
}

} // namespace vlr::fileio
