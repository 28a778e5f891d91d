// `vlr import`: text, RTF and converter-readable files as new notes, on the
// program's own import code.
#include "cli/cli_notebook.h"
#include "cli/cli_text.h"
#include "cli/commands.h"
#include "config/options.h"
#include "exchange/converters.h"
#include "exchange/import_files.h"
#include "exchange/import_run.h"

#include <QDirIterator>
#include <QFileInfo>

#include <cstdio>

namespace vlr::cli {

namespace {

const QString kUsage =
    QStringLiteral("vlr import FILE PATH... [--under NOTE] [--one|--list|--tree] [--lossy]");

// The rows for the paths: a file as it is, a folder with every file below it
// that can be imported (in the order of their names).
QList<TImportRow> rowsFor(const QStringList& paths, const QList<TConverter>& converters) {
    const QString accepted = AcceptedExtensions(converters);
    QList<TImportRow> rows;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            QStringList files;
            QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
            files.sort();
            for (const QString& f : std::as_const(files))
                if (const std::optional<TImportRow> row = MakeImportRow(f, accepted, converters))
                    rows.append(*row);
            continue;
        }
        const std::optional<TImportRow> row = MakeImportRow(path, accepted, converters);
        if (!row)
            throw UsageError{
                info.isFile() ? QStringLiteral("%1: only files ending in %2 can be imported")
                                    .arg(path, accepted.split(u' ').join(QStringLiteral(", .")).prepend(u'.'))
                              : QStringLiteral("%1: no such file").arg(path)};
        rows.append(*row);
    }
    if (rows.isEmpty())
        throw UsageError{QStringLiteral("no file to import")};
    return rows;
}

} // namespace

int cmdImport(const QStringList& words) {
    const Args args(words, {QStringLiteral("--under")},
                    {QStringLiteral("--one"), QStringLiteral("--list"), QStringLiteral("--tree"),
                     QStringLiteral("--lossy")});
    if (args.positionals().size() < 2)
        throw UsageError{QStringLiteral("usage: ") + kUsage};
    const int modes = int(args.flag(QStringLiteral("--one"))) + int(args.flag(QStringLiteral("--list"))) +
                      int(args.flag(QStringLiteral("--tree")));
    if (modes > 1)
        throw UsageError{QStringLiteral("--one, --list and --tree exclude each other")};
    TImportSettings settings;
    settings.mode = args.flag(QStringLiteral("--list"))   ? TImportMode::NoteList
                    : args.flag(QStringLiteral("--tree")) ? TImportMode::NoteTree
                                                          : TImportMode::OneNote;
    const TVLROptions options;
    settings.plainFontName = options.PlainFontName;
    settings.plainFontSize = options.PlainFontSize;
    const QList<TConverter> converters = ImportConverters();
    const QList<TImportRow> rows = rowsFor(args.positionals().mid(1), converters);
    for (const QString& name : ImportedNames(rows, settings.mode))
        checkStorableName(name, args.flag(QStringLiteral("--lossy")));

    auto session = openNotebook(args.positional(0, QStringLiteral("FILE")), args, Access::Write);
    TNodeRoot& nb = *session->root;
    if (nb.IsLocked())
        throw CliError{ExitPassword, QStringLiteral("the notebook is locked")};
    TTreeNode* under = nb.RootNode;
    if (args.has(QStringLiteral("--under"))) {
        TNodeData* note = resolveNote(*session, args.value(QStringLiteral("--under")));
        if (!note->TreeNode)
            throw UsageError{QStringLiteral("a deleted note cannot take children")};
        under = note->TreeNode;
    }
    TConverterRun run;
    const TImportOutcome r = ImportFiles(session->service, under, rows, settings, converters, run);
    saveOrFail(*session);
    for (const TNodeData* note : r.notes)
        out(QStringLiteral("%1\n").arg(listIndex(*session, note)));
    if (r.failed > 0)
        throw CliError{
            ExitFailed,
            QStringLiteral("%1 files could not be imported; their notes hold the error").arg(r.failed)};
    return ExitOk;
}

} // namespace vlr::cli
