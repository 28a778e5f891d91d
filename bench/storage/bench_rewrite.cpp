// Whole-notebook rewrites as a person starts them from the options dialogs:
// encrypting, a new password and decrypting a notebook of many small notes,
// and packing a large one. Prints a table; figures go to docs/benchmarks.md.
//   bench_rewrite [--notes N] [--dir DIR]
#include "../common/bench_notebook.h"
#include "../common/sample_note.h"
#include "storage/images/default_images.h"
#include "storage/notebook_rewrite.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <functional>

#include <cstdio>

using namespace vlr;
using namespace vlr::bench;

namespace {

void row(const char* what, const QString& value) {
    std::printf("| %-44s | %s |\n", what, qPrintable(value));
    std::fflush(stdout);
}

// A saved plain notebook of count notes of about bytes each.
TNodeRoot* fill(TNotebookService& service, const QString& path, int count, int bytes) {
    TNodeRoot* nb = createBenchNotebook(service, path, false, {});
    for (int i = 0; i < count; ++i) {
        TNodeData* note = service.AddNote(*nb, nb->RootNode, nb->RootNode->Count(),
                                          QStringLiteral("Запись %1").arg(i), NewNoteDefaults{}, false);
        QByteArray body = sampleNoteRtf(bytes);
        body.insert(body.size() - 1, QByteArray::number(i)); // no two bodies alike
        service.SetBody(*note, body);
    }
    return service.Save(*nb) == srOk ? nb : nullptr;
}

bool timed(const char* what, const std::function<RewriteOutcome()>& run) {
    QElapsedTimer t;
    t.start();
    const RewriteOutcome outcome = run();
    if (!outcome.ok) {
        std::fprintf(stderr, "%s failed: %s\n", what, qPrintable(describe(outcome.error)));
        return false;
    }
    row(what, QStringLiteral("%1 ms").arg(t.elapsed()));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    useLibrariesBesideProgram();
    const BenchArgs args = parseBenchArgs(app.arguments());
    const int notes = args.notes == 100000 ? 10000 : args.notes;
    QTemporaryDir tmp;
    const QString folder = args.folder.isEmpty() ? tmp.path() : args.folder;
    std::printf("| %-44s | %s |\n|---|---|\n", "measure", "value");

    {
        TNotebookService service(defaultImages());
        TNodeRoot* nb = fill(service, folder + QStringLiteral("/small.vlr"), notes, 1024);
        if (!nb)
            return 1;
        const QString size = QStringLiteral("%1 notes of 1 KB").arg(notes);
        row("notebook", size);
        if (!timed("encrypt", [&] { return ToggleEncryption(*nb, QStringLiteral("first password")); }) ||
            !timed("change the password",
                   [&] { return ChangeNotebookPassword(*nb, QStringLiteral("second password")); }) ||
            !timed("decrypt", [&] { return ToggleEncryption(*nb, {}); }))
            return 1;
    }
    {
        // About 100 MB of bodies, a third of them grown so that packing has work.
        TNotebookService service(defaultImages());
        const QString path = folder + QStringLiteral("/large.vlr");
        TNodeRoot* nb = fill(service, path, 1000, 100 * 1024);
        if (!nb)
            return 1;
        for (int i = 0; i < nb->Notes.size(); i += 3) {
            TNodeData* n = nb->Notes[i];
            service.SetBody(*n, n->Body + QByteArray(2048, 'y'));
        }
        if (service.Save(*nb) != srOk)
            return 1;
        row("large notebook before packing", QStringLiteral("%1 MB, %2 MB wasted")
                                                 .arg(QFileInfo(path).size() / 1e6, 0, 'f', 1)
                                                 .arg(nb->WastedSpace() / 1e6, 0, 'f', 1));
        QElapsedTimer t;
        t.start();
        const qint64 freed = nb->PackNotes(true);
        if (freed < 0)
            return 1;
        row("pack with purge", QStringLiteral("%1 ms, %2 MB after")
                                   .arg(t.elapsed())
                                   .arg(QFileInfo(path).size() / 1e6, 0, 'f', 1));
    }
    return 0;
}
