// vlr salvage: copies what survives of a damaged notebook into a new one.
// The damaged file is only read.
#include "cli/cli_notebook.h"
#include "cli/cli_text.h"
#include "cli/commands.h"
#include "storage/notebook_salvage.h"
#include "storage/salvage_writer.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace vlr::cli {

int cmdSalvage(const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--json"), QStringLiteral("--force")});
    args.expectPositionals(2, QStringLiteral("vlr salvage DAMAGED OUT.vlr [--json] [--force]"));
    const QString path = args.positional(0, QStringLiteral("DAMAGED"));
    const QString outPath = args.positional(1, QStringLiteral("OUT.vlr"));
    requireNotebookFile(path);
    applyLockWait(args);
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString target = QFileInfo(outPath).absoluteFilePath();
    switch (CheckSalvageTarget(absolute, target, args.flag(QStringLiteral("--force")))) {
    case SalvageTarget::SameFile:
        throw UsageError{QStringLiteral("%1 is the damaged file itself: give another name").arg(outPath)};
    case SalvageTarget::Exists:
        throw UsageError{QStringLiteral("%1 exists already (--force replaces it)").arg(outPath)};
    case SalvageTarget::Fine:
        break;
    }
    DamagedNotebook damaged;
    if (!damaged.read(absolute)) {
        if (damaged.failure() == DamagedNotebook::Failure::NeedsRecovery)
            throw CliError{
                ExitFailed,
                QStringLiteral("%1 needs recovery first: a save was cut short (vlr recover %1)").arg(path)};
        throw CliError{ExitFailed, QStringLiteral("cannot read %1: %2").arg(path, damaged.errorString())};
    }
    if (damaged.encrypted()) {
        const QString password = obtainPassword(args, false);
        if (password.isEmpty())
            std::fprintf(stderr,
                         "vlr: warning: %s is encrypted and no password was given: encrypted bodies "
                         "cannot be read and are counted as lost\n",
                         printable(path).toUtf8().constData());
        else if (!damaged.unlock(password))
            throw CliError{ExitPassword, QStringLiteral("wrong password for %1").arg(path)};
    }
    const SalvageResult result = damaged.salvage();
    const SalvageCounts& c = result.counts;
    if (c.whole + c.nameless == 0)
        throw CliError{ExitFailed,
                       QStringLiteral("%1: nothing could be salvaged (%2 notes lost); %3 was not written")
                           .arg(path)
                           .arg(c.lost)
                           .arg(outPath)};
    Session session;
    StorageError error;
    if (!WriteSalvagedNotebook(session.service, damaged, result, target, &error))
        throw CliError{ExitFailed,
                       QStringLiteral("%1 could not be written: %2").arg(outPath, describe(error))};
    if (args.flag(QStringLiteral("--json"))) {
        QJsonObject o;
        o[QStringLiteral("file")] = path;
        o[QStringLiteral("output")] = outPath;
        o[QStringLiteral("whole")] = c.whole;
        o[QStringLiteral("nameless")] = c.nameless;
        o[QStringLiteral("lost")] = c.lost;
        o[QStringLiteral("lockedLost")] = c.locked;
        o[QStringLiteral("notes")] = result.notes.size();
        outBytes(QJsonDocument(o).toJson(QJsonDocument::Indented));
    } else {
        out(QStringLiteral("%1: %2 notes whole, %3 without names, %4 lost; written to %5\n")
                .arg(path)
                .arg(c.whole)
                .arg(c.nameless)
                .arg(c.lost)
                .arg(outPath));
    }
    return ExitOk;
}

} // namespace vlr::cli
