// vlr pack: compacts the body area, optionally dropping deleted notes for good.
// vlr recover: plays back the journal of a save that was cut short.
#include "cli/cli_notebook.h"
#include "cli/cli_text.h"
#include "cli/commands.h"
#include "storage/rollback_journal.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr::cli {

namespace {

// Copies the notebook to `to` whole and durably, replacing the old copy only
// once the new one is complete. Empty on success, else the cause.
QString copyDurably(const QString& from, const QString& to) {
    const QString temp = to + QStringLiteral(".new");
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(temp);
    const int in = ::open(src.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return QStringLiteral("%1: %2").arg(from, systemError(errno));
    struct stat st {};
    const int out = ::fstat(in, &st) == 0
                        ? ::open(dst.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 0666)
                        : -1;
    if (out < 0) {
        const int e = errno;
        ::close(in);
        return QStringLiteral("%1: %2").arg(temp, systemError(e));
    }
    QString error;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), size_t(buffer.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = QStringLiteral("%1: %2").arg(from, systemError(errno));
            break;
        }
        if (n == 0)
            break;
        for (ssize_t done = 0; done < n && error.isEmpty();) {
            const ssize_t w = ::write(out, buffer.constData() + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                error = QStringLiteral("%1: %2").arg(temp, systemError(w < 0 ? errno : EIO));
            else
                done += w;
        }
        if (!error.isEmpty())
            break;
    }
    if (error.isEmpty() && ::fsync(out) != 0)
        error = QStringLiteral("%1: %2").arg(temp, systemError(errno));
    if (::close(out) != 0 && error.isEmpty())
        error = QStringLiteral("%1: %2").arg(temp, systemError(errno));
    ::close(in);
    if (error.isEmpty() && ::rename(dst.constData(), QFile::encodeName(to).constData()) != 0)
        error = QStringLiteral("%1: %2").arg(to, systemError(errno));
    const int folder = ::open(QFile::encodeName(QFileInfo(to).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (error.isEmpty() && (folder < 0 || ::fsync(folder) != 0))
        error = QStringLiteral("%1: %2").arg(QFileInfo(to).absolutePath(), systemError(errno));
    if (folder >= 0)
        ::close(folder);
    if (!error.isEmpty())
        ::unlink(dst.constData());
    return error;
}

} // namespace

int cmdPack(const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--purge"), QStringLiteral("--backup")});
    args.expectPositionals(1, QStringLiteral("vlr pack FILE [--purge] [--backup]"));
    const QString path = args.positional(0, QStringLiteral("FILE"));
    auto session = openNotebook(path, args, Access::Write);
    TNodeRoot& nb = *session->root;
    if (args.flag(QStringLiteral("--backup"))) {
        // Taken while the notebook is held for writing: the copy is the file as it is.
        const QString error = copyDurably(nb.FileName, nb.FileName + QStringLiteral(".bak"));
        if (!error.isEmpty())
            throw CliError{
                ExitFailed,
                QStringLiteral("the backup copy could not be made, so nothing was packed: %1").arg(error)};
    }
    const qint64 freed = nb.PackNotes(args.flag(QStringLiteral("--purge")));
    if (freed < 0)
        throw CliError{
            ExitFailed,
            QStringLiteral("%1 was not packed and is as before: %2").arg(path, describe(nb.SaveError))};
    out(QStringLiteral("%1\n").arg(freed));
    return ExitOk;
}

int cmdRecover(const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositionals(1, QStringLiteral("vlr recover FILE"));
    const QString path = args.positional(0, QStringLiteral("FILE"));
    requireNotebookFile(path);
    applyLockWait(args);
    const RollbackJournal::Playback back = RecoverNotebookFile(QFileInfo(path).absoluteFilePath());
    if (!back.ok)
        throw CliError{ExitFailed,
                       QStringLiteral("%1 could not be recovered: %2").arg(path, describe(back.error))};
    if (!back.hadJournal) {
        // No save was cut short; a file damaged otherwise is a case for salvage.
        Session session;
        OpenOptions inspect;
        inspect.readOnly = true;
        inspect.askPassword = [](TNodeRoot*, TNodeRoot*, bool& res) { res = true; };
        if (session.service.Open(QFileInfo(path).absoluteFilePath(), inspect).result == lrDamaged) {
            out(QStringLiteral(
                    "%1: nothing to recover (no save was cut short), but the file is damaged: %2\n")
                    .arg(path, salvageHint(path)));
            return ExitFailed;
        }
        out(QStringLiteral("%1: nothing to recover\n").arg(path));
    } else
        out(QStringLiteral("%1: the save that was cut short is undone (%2 regions, %3 bytes put back)\n")
                .arg(path)
                .arg(back.regions)
                .arg(back.bytes));
    return ExitOk;
}

} // namespace vlr::cli
