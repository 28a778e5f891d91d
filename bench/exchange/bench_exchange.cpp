// Export and import figures: 10,000 notes of about 1 KB of RTF (10 MB) as
// one file per note in a folder tree and as one combined RTF document, and
// 1,000 text files imported as notes.
#include "../common/sample_note.h"
#include "core/progress.h"
#include "exchange/converters.h"
#include "exchange/export_document.h"
#include "exchange/export_tree.h"
#include "exchange/import_run.h"
#include "exchange/multi_export.h"
#include "exchange/safe_write.h"
#include "exchange/single_export.h"
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/images/default_images.h"
#include "storage/notebook_service.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace vlr;

namespace {

double seconds(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TVlrLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    TExtLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    const int notes = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const int files = argc > 2 ? QByteArray(argv[2]).toInt() : 1000;
    QTemporaryDir dir;

    // A notebook saved to disk and opened again, so bodies are read from the file.
    const QString book = dir.filePath(QStringLiteral("bench.vlr"));
    qint64 rtfBytes = 0;
    {
        TNotebookService service(defaultImages());
        TNodeRoot* nb = service.Create(NewNotebookDefaults{}, book);
        const QByteArray body = bench::sampleNoteRtf(1000);
        TTreeNode* folder = nullptr;
        for (int i = 0; i < notes; ++i) {
            // Folders of 100 notes, each folder a note itself.
            if (i % 100 == 0)
                folder = service
                             .AddNote(*nb, nb->RootNode, nb->RootNode->Count(),
                                      QStringLiteral("Папка %1").arg(i / 100), NewNoteDefaults{}, false)
                             ->TreeNode;
            TNodeData* n = service.AddNote(*nb, folder, folder->Count(), QStringLiteral("Запись %1").arg(i),
                                           NewNoteDefaults{}, false);
            service.SetBody(*n, body);
            rtfBytes += body.size();
        }
        if (service.Save(*nb) != srOk) {
            std::fprintf(stderr, "save failed\n");
            return 1;
        }
    }
    TNotebookService service(defaultImages());
    const OpenOutcome opened = service.Open(book);
    if (!opened.notebook)
        return 1;
    TExportTree tree;
    tree.Build(opened.notebook->RootNode, TExportTree::Command::ExportNotes, true);
    std::printf("notes: %d (+%d folder notes), RTF: %.1f MB\n", notes, (notes + 99) / 100, rtfBytes / 1e6);

    QElapsedTimer t;
    t.start();
    TConverterRun run;
    TFilesExportOptions o;
    o.folder = dir.filePath(QStringLiteral("tree"));
    const TFilesExportResult r = ExportFilesPerNote(tree, o, TWriteGuard::ForNotebooks(service), run);
    std::printf("one RTF file per note, folder tree: %.2f s (%lld files)\n", seconds(t),
                qlonglong(r.written.size()));

    t.restart();
    const TCombinedDocument doc = GenerateDocument(tree, TDocumentOptions{});
    const double generated = seconds(t);
    const TExportOutcome saved = SaveDocument(doc, TDocumentTarget::FileRTF,
                                              dir.filePath(QStringLiteral("all.rtf")), {}, TWriteGuard{});
    std::printf("one combined RTF document: %.2f s (generating %.2f s, %.1f MB written, %s)\n", seconds(t),
                generated, QFileInfo(dir.filePath(QStringLiteral("all.rtf"))).size() / 1e6,
                saved ? "ok" : "failed");

    t.restart();
    const TCombinedDocument plain = GenerateDocument(tree, [] {
        TDocumentOptions p;
        p.formatted = false;
        return p;
    }());
    std::printf("one combined plain-text document: %.2f s\n", seconds(t));

    QList<TImportRow> rows;
    for (int i = 0; i < files; ++i) {
        const QString f = dir.filePath(QStringLiteral("in/%1/file%2.txt").arg(i / 100).arg(i));
        QDir().mkpath(QFileInfo(f).absolutePath());
        QFile file(f);
        file.open(QIODevice::WriteOnly);
        file.write(QString::fromUtf8("Съешь же ещё этих мягких французских булок, да выпей чаю. %1\n")
                       .arg(i)
                       .repeated(16)
                       .toUtf8());
        file.close();
        rows.append(*MakeImportRow(f, AcceptedExtensions({}), {}));
    }
    for (TImportMode mode : {TImportMode::NoteList, TImportMode::NoteTree, TImportMode::OneNote}) {
        TImportSettings settings;
        settings.mode = mode;
        t.restart();
        const TImportOutcome imported =
            ImportFiles(service, opened.notebook->RootNode, rows, settings, {}, run);
        std::printf("import of %d files (%s): %.2f s (%lld notes)\n", files,
                    mode == TImportMode::NoteList   ? "list"
                    : mode == TImportMode::NoteTree ? "tree"
                                                    : "one note",
                    seconds(t), qlonglong(imported.notes.size()));
    }
    return 0;
}
