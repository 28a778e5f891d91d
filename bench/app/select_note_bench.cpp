// Selecting a 1 MB note in the notes tree, as a person clicks it: the
// selection change stores the previous note, reads the body from the file
// (first selection), binds it into the editor, and the editor paints.
//   first    the first selection after opening: read, decode, bind, paint;
//   again    selecting it again with its body in memory.
// Both notebooks of the run are plain and compressed + encrypted.
#include "common/sample_note.h"
#include "editor/richedit.h"
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/images/default_images.h"
#include "storage/notebook_service.h"
#include "tree/MyTreeView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QTemporaryDir>

#include <cstdio>

using namespace vlr;

namespace {

QString makeNotebook(const QString& path, bool secure) {
    TNotebookService service(defaultImages());
    NewNotebookDefaults d;
    d.compress = secure;
    TNodeRoot* nb = service.Create(d, path);
    if (secure && !service.Protect(*nb, QStringLiteral("password")))
        return {};
    TNodeData* small =
        service.AddNote(*nb, nb->RootNode, 0, QStringLiteral("small"), NewNoteDefaults{}, false);
    service.SetBody(*small, bench::sampleNoteRtf(2000));
    TNodeData* big = service.AddNote(*nb, nb->RootNode, 1, QStringLiteral("big"), NewNoteDefaults{}, false);
    service.SetBody(*big, bench::sampleNoteRtf(1024 * 1024));
    return service.Save(*nb) == srOk ? path : QString();
}

struct Figures {
    std::vector<double> first, again;
};

Figures measure(const QString& path, int runs) {
    Figures f;
    for (int run = 0; run < runs; ++run) {
        TNotebookService service(defaultImages());
        OpenOptions options;
        options.askPassword = [&](TNodeRoot*, TNodeRoot* nb, bool& res) {
            res = service.Unlock(*nb, QStringLiteral("password"));
        };
        TNodeRoot* nb = service.Open(path, options).notebook;
        if (!nb)
            return f;
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* editor = new TMyRichEdit(&window);
        auto* tree = new TMyTreeView(service, &window);
        tree->SetEditor(editor);
        layout->addWidget(tree, 1);
        layout->addWidget(editor, 3);
        window.resize(1200, 800);
        window.show();
        QApplication::processEvents();
        TTreeNode* small = nb->Notes[0]->TreeNode;
        TTreeNode* big = nb->Notes[1]->TreeNode;
        tree->SelectNode(small);
        QApplication::processEvents();

        QElapsedTimer t;
        t.start();
        tree->SelectNode(big);
        editor->viewport()->repaint();
        f.first.push_back(t.nsecsElapsed() / 1e6);

        tree->SelectNode(small);
        QApplication::processEvents();
        t.restart();
        tree->SelectNode(big);
        editor->viewport()->repaint();
        f.again.push_back(t.nsecsElapsed() / 1e6);
    }
    return f;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TVlrLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    TExtLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    int runs = 5;
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "--runs") == 0)
            runs = qMax(1, atoi(argv[i + 1]));
    QTemporaryDir dir;
    std::printf("| notebook | first selection (read + bind + paint) | selecting again |\n|---|---|---|\n");
    for (bool secure : {false, true}) {
        const QString path = makeNotebook(dir.filePath(secure ? "secure.vlr" : "plain.vlr"), secure);
        if (path.isEmpty()) {
            std::fprintf(stderr, "could not make the notebook\n");
            return 1;
        }
        const Figures f = measure(path, runs);
        std::printf("| %s | %.0f ms | %.0f ms |\n", secure ? "compressed + encrypted" : "plain",
                    bench::median(f.first), bench::median(f.again));
    }
    return 0;
}
