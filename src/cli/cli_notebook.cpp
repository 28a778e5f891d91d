#include "cli/cli_notebook.h"

#include "cli/cli_text.h"
#include "storage/rollback_journal.h"

#include "core/codepage.h"
#include "core/guid.h"
#include "storage/images/default_images.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace vlr::cli {

Session::Session() : service(defaultImages()) {}

QString obtainPassword(const Args& args, bool confirm) {
    if (args.has(QStringLiteral("--password-file"))) {
        QFile f(args.value(QStringLiteral("--password-file")));
        if (!f.open(QIODevice::ReadOnly))
            throw UsageError{
                QStringLiteral("cannot read the password file %1: %2").arg(f.fileName(), f.errorString())};
        QString line = QString::fromUtf8(f.readLine());
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        return line;
    }
    if (qEnvironmentVariableIsSet("VLR_PASSWORD"))
        return qEnvironmentVariable("VLR_PASSWORD");
    FILE* tty = std::fopen("/dev/tty", "r+");
    if (!tty)
        return {};
    auto ask = [tty](const char* prompt) {
        std::fputs(prompt, tty);
        std::fflush(tty);
        termios saved{};
        const int fd = fileno(tty);
        const bool termOk = tcgetattr(fd, &saved) == 0;
        if (termOk) {
            termios quiet = saved;
            quiet.c_lflag &= ~tcflag_t(ECHO);
            tcsetattr(fd, TCSAFLUSH, &quiet);
        }
        char buffer[1024] = {};
        const bool got = std::fgets(buffer, sizeof buffer, tty) != nullptr;
        if (termOk)
            tcsetattr(fd, TCSAFLUSH, &saved);
        std::fputs("\n", tty);
        QString text = got ? QString::fromLocal8Bit(buffer) : QString();
        while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        explicit_bzero(buffer, sizeof buffer);
        return text;
    };
    QString password = ask("Password: ");
    if (confirm && !password.isEmpty() && ask("Repeat the password: ") != password) {
        std::fclose(tty);
        throw CliError{ExitPassword, QStringLiteral("the passwords differ")};
    }
    std::fclose(tty);
    return password;
}

std::unique_ptr<Session> newSession(const QString& path, const NewNotebookDefaults& defaults) {
    auto session = std::make_unique<Session>();
    session->root = session->service.Create(defaults, QFileInfo(path).absoluteFilePath());
    return session;
}

void applyLockWait(const Args& args) {
    NotebookFile::setLockWait(int(args.secondsValue(QStringLiteral("--wait"), kDefaultWaitSeconds) * 1000));
}

void requireNotebookFile(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        throw UsageError{errno == ENOENT ? QStringLiteral("%1: no such file").arg(path)
                                         : QStringLiteral("%1: %2").arg(path, systemError(errno))};
    if (!S_ISREG(st.st_mode))
        throw UsageError{QStringLiteral("%1: not a file").arg(path)};
}

std::unique_ptr<Session> openNotebook(const QString& path, const Args& args, Access access) {
    requireNotebookFile(path);
    applyLockWait(args);
    const QFileInfo info(path);
    auto session = std::make_unique<Session>();
    bool passwordMissing = false;
    OpenOptions options;
    options.readOnly = access != Access::Write;
    options.askPassword = [&](TNodeRoot*, TNodeRoot* notebook, bool& res) {
        const bool needKey = access != Access::Inspect;
        const bool offered =
            args.has(QStringLiteral("--password-file")) || qEnvironmentVariableIsSet("VLR_PASSWORD");
        if (!needKey && !offered) {
            res = true; // names and sizes are readable without the key
            return;
        }
        const QString password = obtainPassword(args, false);
        if (password.isEmpty()) {
            passwordMissing = true;
            res = false;
            return;
        }
        res = session->service.Unlock(*notebook, password);
    };
    const QString absolute = info.absoluteFilePath();
    const OpenOutcome outcome = session->service.Open(absolute, options);
    session->root = outcome.notebook;
    switch (outcome.result) {
    case lrOk:
        break;
    case lrPicturesUnreadable:
        std::fprintf(stderr,
                     "vlr: warning: the notebook's pictures could not be read; the default set is used\n");
        break;
    case lrPasswordRefused:
        if (passwordMissing)
            throw CliError{ExitPassword,
                           QStringLiteral("%1 is encrypted: give the password with --password-file or "
                                          "VLR_PASSWORD")
                               .arg(path)};
        throw CliError{ExitPassword, QStringLiteral("wrong password for %1").arg(path)};
    case lrNotNotebook:
        throw CliError{ExitUsage, QStringLiteral("%1 is not a notebook").arg(path)};
    case lrCannotOpen: {
        QFile probe(absolute);
        const QString reason = probe.open(QIODevice::ReadOnly)
                                   ? QStringLiteral("it is in use by another process")
                                   : probe.errorString();
        throw CliError{ExitFailed, QStringLiteral("cannot open %1: %2").arg(path, reason)};
    }
    case lrNeedsRecovery:
        throw CliError{ExitFailed, QStringLiteral("%1 needs recovery: a save was cut short; %2 holds its old "
                                                  "content (vlr recover %1 puts it back)")
                                       .arg(path, RollbackJournal::pathFor(path))};
    case lrDamaged:
        if (access == Access::Write)
            throw CliError{ExitFailed,
                           QStringLiteral("%1 is damaged and is not changed: %2 (%3)")
                               .arg(path,
                                    printable(describe(session->root->Damage).join(QStringLiteral("; "))),
                                    salvageHint(path))};
        for (const QString& problem : describe(session->root->Damage))
            std::fprintf(stderr, "vlr: damaged: %s\n", printable(problem).toUtf8().constData());
        std::fprintf(stderr, "vlr: %s\n", salvageHint(path).toUtf8().constData());
        break;
    default:
        throw CliError{ExitFailed,
                       QStringLiteral("cannot open %1 (result %2)").arg(path).arg(outcome.result)};
    }
    TNodeRoot& nb = *session->root;
    if (access == Access::Write && nb.OpenedReadOnly) {
        if (info.isWritable())
            throw CliError{ExitFailed, QStringLiteral("%1 is in use by another process (waited %2 s)")
                                           .arg(path)
                                           .arg(NotebookFile::lockWait() / 1000.0)};
        throw CliError{ExitFailed, QStringLiteral("%1 cannot be written: the file is read-only").arg(path)};
    }
    if (access == Access::Write && nb.HasBookFlag(bfReadOnly))
        throw CliError{ExitFailed, QStringLiteral("%1 is a read-only notebook").arg(path)};
    return session;
}

int listIndex(const Session& session, const TNodeData* note) {
    const TNodeRoot& nb = *session.root;
    const int live = nb.IndexOfNote(note);
    if (live >= 0)
        return live;
    const int deleted = int(nb.DeletedNotes.indexOf(const_cast<TNodeData*>(note)));
    return deleted >= 0 ? int(nb.Notes.size()) + deleted : -1;
}

TNodeData* resolveNote(Session& session, const QString& reference) {
    TNodeRoot& nb = *session.root;
    bool isNumber = false;
    const int index = reference.toInt(&isNumber);
    if (isNumber) {
        if (index >= 0 && index < nb.Notes.size())
            return nb.Notes[index];
        const int d = index - int(nb.Notes.size());
        if (d >= 0 && d < nb.DeletedNotes.size())
            return nb.DeletedNotes[d];
        throw UsageError{QStringLiteral("no note with index %1").arg(reference)};
    }
    GuidBytes id{};
    if (reference.startsWith(QLatin1Char('{')) && parseGuid(reference, id)) {
        for (const QList<TNodeData*>* list : {&nb.Notes, &nb.DeletedNotes})
            for (TNodeData* note : *list)
                if (std::memcmp(note->Record.ID(), id.data(), id.size()) == 0)
                    return note;
        throw UsageError{QStringLiteral("no note with the id %1").arg(reference)};
    }
    TTreeNode* node = nb.RootNode;
    for (const QString& name : splitNamePath(reference)) {
        TTreeNode* found = nullptr;
        for (int i = 0; i < node->Count() && !found; ++i)
            if (node->Child(i)->Text() == name)
                found = node->Child(i);
        if (!found)
            throw UsageError{QStringLiteral("no note \"%1\"").arg(printable(reference))};
        node = found;
    }
    if (!node->Note())
        throw UsageError{QStringLiteral("no note \"%1\"").arg(printable(reference))};
    return node->Note();
}

QString salvageHint(const QString& path) {
    return QStringLiteral("vlr salvage %1 OUT.vlr copies what survives into a new notebook")
        .arg(printable(path));
}

void saveOrFail(Session& session) {
    const TNodeRoot& nb = *session.root;
    const int result = session.service.Save(*session.root);
    if (result == srNotWritable)
        throw CliError{ExitFailed,
                       QStringLiteral("%1 cannot be written: %2").arg(nb.FileName, nb.File().errorString())};
    if (result != srOk)
        throw CliError{
            ExitFailed,
            QStringLiteral("%1 was not saved and is as before: %2").arg(nb.FileName, describe(nb.SaveError))};
}

} // namespace vlr::cli
