// `vlr export`: a notebook, or the notes below one note, as one document, one
// file per note or a new notebook file, on the program's own export code.
#include "cli/cli_notebook.h"
#include "cli/commands.h"
#include "config/options.h"
#include "exchange/converters.h"
#include "exchange/export_document.h"
#include "exchange/export_tree.h"
#include "exchange/multi_export.h"
#include "exchange/safe_write.h"
#include "exchange/single_export.h"
#include "exchange/struct_export.h"

#include <QFileInfo>

#include <cstdio>

namespace vlr::cli {

namespace {

const QString kUsage =
    QStringLiteral("vlr export FILE [--note NOTE] [--marked NOTE]... "
                   "--to rtf|txt|oem|html|vlr|md|docx|odt (--out FILE | --dir DIR [--flat]) "
                   "[--bare] [--compress] [--encrypt]");

// The converter program that writes the format, pandoc before the office program.
const TConverter* converterFor(const QList<TConverter>& converters, const QString& extension) {
    for (const TConverter& c : converters)
        if (c.Handles(extension))
            return &c;
    return nullptr;
}

TExportNode* exportNodeOf(const TExportTree& tree, const TNodeData* note) {
    TExportNode* found = nullptr;
    tree.ForEach([&](TExportNode* node, int) {
        if (node->Note() == note)
            found = node;
    });
    return found;
}

// --marked may be given many times; Args keeps one value per option.
QStringList takeMarked(const QStringList& words, QStringList& rest) {
    QStringList marked;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& w = words[i];
        if (w == QLatin1StringView("--marked")) {
            if (i + 1 >= words.size())
                throw UsageError{QStringLiteral("option --marked needs a value")};
            marked << words[++i];
        } else if (w.startsWith(QLatin1StringView("--marked="))) {
            marked << w.mid(9);
        } else {
            rest << w;
        }
    }
    return marked;
}

} // namespace

int cmdExport(const QStringList& words) {
    QStringList rest;
    const QStringList marked = takeMarked(words, rest);
    const Args args(
        rest,
        {QStringLiteral("--note"), QStringLiteral("--to"), QStringLiteral("--out"), QStringLiteral("--dir")},
        {QStringLiteral("--flat"), QStringLiteral("--bare"), QStringLiteral("--compress"),
         QStringLiteral("--encrypt")});
    args.expectPositionals(1, kUsage);
    const QString to = args.value(QStringLiteral("--to"));
    static const QStringList formats{QStringLiteral("rtf"),  QStringLiteral("txt"), QStringLiteral("oem"),
                                     QStringLiteral("html"), QStringLiteral("vlr"), QStringLiteral("md"),
                                     QStringLiteral("docx"), QStringLiteral("odt")};
    if (!formats.contains(to))
        throw UsageError{QStringLiteral("--to must be one of %1").arg(formats.join(u'|'))};
    const bool toFile = args.has(QStringLiteral("--out"));
    const bool toDir = args.has(QStringLiteral("--dir"));
    if (toFile == toDir)
        throw UsageError{QStringLiteral("give either --out FILE or --dir DIR")};
    if (args.flag(QStringLiteral("--flat")) && !toDir)
        throw UsageError{QStringLiteral("--flat goes with --dir")};
    const bool notebookFile = to == QLatin1StringView("vlr");
    if (notebookFile && toDir)
        throw UsageError{QStringLiteral("--to vlr writes one file: give --out")};
    if ((args.flag(QStringLiteral("--compress")) || args.flag(QStringLiteral("--encrypt"))) && !notebookFile)
        throw UsageError{QStringLiteral("--compress and --encrypt go with --to vlr")};

    const QList<TConverter> converters = ExportConverters();
    const bool converted =
        to == QLatin1StringView("md") || to == QLatin1StringView("docx") || to == QLatin1StringView("odt");
    const TConverter* converter = converted ? converterFor(converters, to) : nullptr;
    if (converted && !converter)
        throw CliError{
            ExitFailed,
            QStringLiteral("no converter writes .%1: pandoc or soffice must be on the PATH").arg(to)};

    const QString file = args.positional(0, QStringLiteral("FILE"));
    auto session = openNotebook(file, args, Access::InspectWithKey);
    TNodeRoot& nb = *session->root;
    if (nb.IsLocked())
        throw CliError{ExitPassword, QStringLiteral("the notebook is locked")};
    TTreeNode* selection = nb.RootNode;
    if (args.has(QStringLiteral("--note"))) {
        TNodeData* note = resolveNote(*session, args.value(QStringLiteral("--note")));
        if (!note->TreeNode)
            throw UsageError{QStringLiteral("a deleted note cannot be exported")};
        selection = note->TreeNode;
    }
    TExportTree tree;
    tree.Build(selection, TExportTree::Command::ExportNotes, true);
    if (!marked.isEmpty()) {
        tree.SetMarks(tree.Root(), emUnmarked);
        for (const QString& reference : marked) {
            TExportNode* node = exportNodeOf(tree, resolveNote(*session, reference));
            if (!node)
                throw UsageError{
                    QStringLiteral("--marked %1 is not among the exported notes").arg(reference)};
            if (!node->Marked())
                tree.Toggle(node);
        }
    }
    TWriteGuard guard;
    guard.Protect(nb.FileName);
    guard.Protect(nb.FileName + QStringLiteral("-journal"));

    TExportSettings settings;
    if (args.flag(QStringLiteral("--bare"))) {
        settings.layout.insertHeader = settings.layout.insertFooter = false;
        settings.layout.separation = TSeparation::Nothing;
    }
    const TVLROptions options;
    THtmlChoices html;
    html.title = HtmlPageTitle({}, tree, TExportTree::Command::ExportNotes);
    html.fontName = options.DefFontName;
    html.fontSize = options.DefFontSize;
    html.background = options.DefEditorBack;
    TConverterRun run;

    if (toDir) {
        TFilesExportOptions o;
        o.folder = args.value(QStringLiteral("--dir"));
        o.oneFolder = args.flag(QStringLiteral("--flat"));
        o.format = to == QLatin1StringView("rtf")    ? TFileFormat::FormatRTF
                   : to == QLatin1StringView("txt")  ? TFileFormat::FormatTXT
                   : to == QLatin1StringView("oem")  ? TFileFormat::FormatOEM
                   : to == QLatin1StringView("html") ? TFileFormat::FormatHTM
                                                     : TFileFormat::Converter;
        o.html = html;
        TConverter only;
        if (converter) {
            only = *converter;
            only.extensions = {to}; // the format asked for, not the program's first
            o.converter = &only;
        }
        const TFilesExportResult r = ExportFilesPerNote(tree, o, guard, run);
        for (const QString& written : r.written)
            out(written + u'\n');
        if (r.failed > 0)
            throw CliError{ExitFailed, QStringLiteral("%1 notes could not be written").arg(r.failed)};
        return ExitOk;
    }

    const QString target = args.value(QStringLiteral("--out"));
    if (notebookFile) {
        TNotebookFileChoices choices{target, args.flag(QStringLiteral("--compress")), {}};
        if (args.flag(QStringLiteral("--encrypt"))) {
            choices.password = obtainPassword(args, true);
            if (choices.password.isEmpty())
                throw CliError{
                    ExitPassword,
                    QStringLiteral("--encrypt needs a password (--password-file or VLR_PASSWORD)")};
        }
        const TExportOutcome r = ExportToNotebookFile(tree, choices, guard);
        if (!r)
            throw CliError{ExitFailed, r.error};
        return ExitOk;
    }
    const TDocumentTarget kind = to == QLatin1StringView("rtf")    ? TDocumentTarget::FileRTF
                                 : to == QLatin1StringView("txt")  ? TDocumentTarget::FilePlain
                                 : to == QLatin1StringView("oem")  ? TDocumentTarget::FileOEM
                                 : to == QLatin1StringView("html") ? TDocumentTarget::FileHTML
                                                                   : TDocumentTarget::Converter;
    if (converter && QFileInfo(target).suffix().toLower() != to)
        throw UsageError{QStringLiteral("--out must end in .%1").arg(to)};
    const bool formatted = kind != TDocumentTarget::FilePlain && kind != TDocumentTarget::FileOEM;
    const TCombinedDocument doc = GenerateDocument(tree, DocumentOptionsFrom(options, settings, formatted));
    const TExportOutcome r = SaveDocument(doc, kind, target, html, guard, converter, &run);
    if (!r)
        throw CliError{ExitFailed, QStringLiteral("%1 was not written: %2").arg(target, r.error)};
    return ExitOk;
}

} // namespace vlr::cli
