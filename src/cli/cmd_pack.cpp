// vlr pack: compacts the body area, optionally dropping deleted notes for good.
#include "cli/cli_notebook.h"
#include "cli/commands.h"

#include <QFile>

namespace vlr::cli {

int cmdPack(const QStringList& words)
{
    const Args args(words, {}, {QStringLiteral("--purge"), QStringLiteral("--backup")});
    args.expectPositionals(1, QStringLiteral("vlr pack FILE [--purge] [--backup]"));
    const QString path = args.positional(0, QStringLiteral("FILE"));
    auto session = openNotebook(path, args, Access::Write);
    TNodeRoot& nb = *session->root;
    if (args.flag(QStringLiteral("--backup"))) {
        const QString backup = nb.FileName + QStringLiteral(".bak");
        QFile::remove(backup);
        if (!QFile::copy(nb.FileName, backup))
            throw CliError{ExitFailed, QStringLiteral("Ошибка создания резервной копии! Сжатие невозможно!")};
    }
    const qint64 freed = nb.PackNotes(args.flag(QStringLiteral("--purge")));
    if (nb.TreeDirty)
        throw CliError{ExitFailed, QStringLiteral("%1 could not be packed: %2").arg(path, nb.File().errorString())};
    out(QStringLiteral("%1\n").arg(freed));
    return ExitOk;
}

} // namespace vlr::cli
