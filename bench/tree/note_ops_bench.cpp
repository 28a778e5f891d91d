// Note operations on large notebooks, in the tree as the program shows it:
//   addNoteAndEditLabel  adding a note to a notebook of 100,000 notes, selecting
//                        it (the editor takes it) and opening its label editor;
//   moveSubtreeAcross    moving a folder of 10,000 notes, bodies still on disk,
//                        into another notebook;
//   deleteSubtree        deleting a folder of 10,000 notes.
// Run with: QT_QPA_PLATFORM=offscreen bin/note_ops_bench
#include "../common/bench_notebook.h"
#include "../common/sample_note.h"
#include "editor/richedit.h"
#include "storage/images/default_images.h"
#include "tree/MyTreeView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vlr;

namespace {

constexpr int kNotes = 100000;
constexpr int kFolder = 10000;

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

// A notebook file of kNotes notes: ten folders of kFolder notes each, about 1 KB
// of RTF per note. Written once per run.
QString bigNotebook() {
    static QString path;
    if (!path.isEmpty())
        return path;
    path = folder().filePath(QStringLiteral("big.vlr"));
    TNotebookService service(defaultImages());
    TNodeRoot* nb = bench::createBenchNotebook(service, path, false, {});
    const QByteArray body = bench::sampleNoteRtf(1000);
    for (int f = 0; f < kNotes / kFolder; ++f) {
        TNodeData* top = service.AddNote(*nb, nb->RootNode, nb->RootNode->Count(),
                                         QStringLiteral("folder %1").arg(f), NewNoteDefaults{}, false);
        for (int i = 1; i < kFolder; ++i) {
            TNodeData* n = service.AddNote(*nb, top->TreeNode, top->TreeNode->Count(),
                                           QStringLiteral("note %1").arg(i), NewNoteDefaults{}, false);
            n->Body = body;
        }
    }
    if (service.Save(*nb) != srOk)
        std::fprintf(stderr, "the notebook could not be written\n");
    return path;
}

struct ShownTree {
    TNotebookService service{defaultImages()};
    TMyTreeView tree{service};
    TMyRichEdit editor;
    ShownTree() {
        tree.SetEditor(&editor);
        tree.resize(400, 600);
        tree.show();
    }
    TNodeRoot* open(const QString& path) { return service.Open(path).notebook; }
};

void addNoteAndEditLabel(benchmark::State& state) {
    ShownTree w;
    TNodeRoot* nb = w.open(bigNotebook());
    TTreeNode* relative = nb->RootNode->Child(5)->Child(5000);
    w.tree.SelectNode(relative);
    for (auto _ : state) {
        TNodeData* note = w.service.AddNoteNear(*nb, relative, true, {}, NewNoteDefaults{});
        w.tree.SelectNode(note->TreeNode);
        w.tree.EditLabel(note->TreeNode);
        QApplication::processEvents();
        state.PauseTiming();
        if (auto* line = w.tree.viewport()->findChild<QLineEdit*>()) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(line, &esc);
        }
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(addNoteAndEditLabel)->Unit(benchmark::kMillisecond)->Iterations(50);

void moveSubtreeAcross(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ShownTree w;
        TNodeRoot* from = w.open(bigNotebook());
        TNodeRoot* to = w.service.Create(NewNotebookDefaults{}, folder().filePath(QStringLiteral("to.vlr")));
        TTreeNode* subtree = from->RootNode->Child(3);
        state.ResumeTiming();
        if (!w.service.MoveOrCopyNote(subtree, to->RootNode, {}))
            state.SkipWithError("the move was refused");
        QApplication::processEvents();
        state.PauseTiming();
        w.service.CloseAll();
        state.ResumeTiming();
    }
}
BENCHMARK(moveSubtreeAcross)->Unit(benchmark::kMillisecond)->Iterations(3);

void deleteSubtree(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ShownTree w;
        TNodeRoot* nb = w.open(bigNotebook());
        TTreeNode* subtree = nb->RootNode->Child(3);
        w.tree.SelectNode(nb->RootNode->Child(2));
        state.ResumeTiming();
        w.service.DeleteNote(*subtree->Note());
        QApplication::processEvents();
        state.PauseTiming();
        w.service.CloseAll();
        state.ResumeTiming();
    }
}
BENCHMARK(deleteSubtree)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TVlrLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    TExtLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
