// Figures of the notes tree on a notebook of 100,000 notes (about 1 KB of
// RTF each, in folders of 100) and on a folder of 10,000 notes:
//   open             the notebook service's Open alone, and Open with the
//                    tree shown up to its first painted screen;
//   expand           expanding the folder of 10,000 notes, with the repaint;
//   scroll           one page down with the repaint, mean and worst;
//   memory           what the model and the view add for 100,000 notes.
//   bench_tree [--notes N] [--dir DIR]
// Figures go to standard output as a table; run with QT_QPA_PLATFORM=offscreen.
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/images/default_images.h"
#include "storage/notebook_service.h"
#include "tree/MyTreeView.h"
#include "tree/notes_model.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <numeric>
#include <vector>

using namespace vlr;

namespace {

// Heap bytes in use, in MiB: unlike the resident size it is not blurred by
// memory freed earlier and handed out again.
double heapMiB() {
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

void row(const char* what, const QString& value) {
    std::printf("| %-52s | %s |\n", what, value.toUtf8().constData());
    std::fflush(stdout);
}

// About 1 KB of RTF that differs from note to note.
QByteArray noteBody(int index) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 Note " +
                     QByteArray::number(index) + "\\par ";
    while (rtf.size() < 1000)
        rtf += "words of the note " + QByteArray::number(index % 97) + " {\\b in bold} ";
    return rtf + "\\par}";
}

// A saved notebook whose root opens expanded: `folders` top notes with
// `perFolder` - 1 children each (the folder note counts).
bool writeNotebook(const QString& path, int count, int perFolder) {
    TNotebookService service(defaultImages());
    NewNotebookDefaults d;
    d.name = QStringLiteral("bench");
    d.reserveSize = 100;
    TNodeRoot* nb = service.Create(d, path);
    TTreeNode* folder = nullptr;
    for (int i = 0; i < count; ++i) {
        TTreeNode* parent = i % perFolder == 0 ? nb->RootNode : folder;
        TNodeData* note = service.AddNote(*nb, parent, parent->Count(), QStringLiteral("Запись %1").arg(i),
                                          NewNoteDefaults{}, false);
        service.SetBody(*note, noteBody(i));
        if (i % perFolder == 0)
            folder = note->TreeNode;
    }
    service.SetExpanded(nb->RootNode, true);
    return service.Save(*nb) == srOk;
}

// The tree as the program has it, counting the rows it paints so that a
// figure of an empty repaint cannot pass for a fast one.
class CountingTree : public TMyTreeView {
public:
    using TMyTreeView::TMyTreeView;
    mutable int rows = 0;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override {
        ++rows;
        TMyTreeView::drawRow(painter, option, index);
    }
};

struct Window {
    explicit Window(TNotebookService& service) : tree(service) {
        tree.resize(320, 700);
        tree.show();
        // Painting happens only once the window is exposed.
        QElapsedTimer wait;
        wait.start();
        while (!(tree.windowHandle() && tree.windowHandle()->isExposed()) && wait.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QCoreApplication::processEvents();
        tree.viewport()->repaint();
    }
    CountingTree tree;
};

qint64 nsSince(const QElapsedTimer& t) {
    return t.nsecsElapsed();
}

QString ms(qint64 ns) {
    return QStringLiteral("%1 ms").arg(ns / 1e6, 0, 'f', 2);
}

int measure(const QString& big, const QString& wide) {
    OpenOptions quiet;
    QElapsedTimer t;
    {
        // The file cache warmed, so both timings read from memory.
        TNotebookService warm(defaultImages());
        (void)warm.Open(big, quiet);
    }

    qint64 aloneNs = 0;
    {
        TNotebookService service(defaultImages());
        t.start();
        const OpenOutcome outcome = service.Open(big, quiet);
        aloneNs = nsSince(t);
        if (outcome.result != lrOk)
            return 1;
    }
    row("Open alone", ms(aloneNs));

    qint64 shownNs = 0;
    {
        TNotebookService service(defaultImages());
        Window w(service);
        t.start();
        const OpenOutcome outcome = service.Open(big, quiet);
        w.tree.viewport()->repaint();
        shownNs = nsSince(t);
        if (outcome.result != lrOk)
            return 1;
        row("Open and first paint in the shown tree",
            ms(shownNs) + QStringLiteral(" (%1 rows painted)").arg(w.tree.rows));
        row("  ratio to Open alone (target at most 2)", QString::number(double(shownNs) / aloneNs, 'f', 2));

        // Scrolling: one page at a time through the folders.
        QScrollBar* bar = w.tree.verticalScrollBar();
        std::vector<qint64> pages;
        w.tree.rows = 0;
        for (int i = 0; i < 60 && bar->value() < bar->maximum(); ++i) {
            t.start();
            bar->setValue(bar->value() + bar->pageStep());
            w.tree.viewport()->repaint();
            pages.push_back(nsSince(t));
        }
        const qint64 total = std::accumulate(pages.begin(), pages.end(), qint64(0));
        row("Scroll one page and repaint, mean of pages",
            ms(total / qint64(qMax<size_t>(1, pages.size()))) +
                QStringLiteral(" (%1 rows a page)").arg(w.tree.rows / qMax<size_t>(1, pages.size())));
        row("Scroll one page and repaint, worst (target below 16)",
            ms(*std::max_element(pages.begin(), pages.end())));
    }

    {
        TNotebookService service(defaultImages());
        const OpenOutcome outcome = service.Open(wide, quiet);
        if (outcome.result != lrOk)
            return 1;
        Window w(service);
        TTreeNode* folder = outcome.notebook->RootNode->Child(0);
        w.tree.rows = 0;
        t.start();
        w.tree.SetNodeExpanded(folder, true);
        w.tree.viewport()->repaint();
        row("Expand a node of 10,000 children and repaint (below 100)",
            ms(nsSince(t)) + QStringLiteral(" (%1 rows painted)").arg(w.tree.rows));
        t.start();
        w.tree.SetNodeExpanded(folder, false);
        w.tree.viewport()->repaint();
        row("Collapse it again and repaint", ms(nsSince(t)));
    }

    {
        TNotebookService service(defaultImages());
        const OpenOutcome outcome = service.Open(big, quiet);
        if (outcome.result != lrOk)
            return 1;
        const double opened = heapMiB();
        row("Heap of the open notebook itself", QStringLiteral("%1 MiB").arg(opened, 0, 'f', 1));
        auto model = std::make_unique<TNotesModel>(service);
        // Walk every index once, as views do.
        std::vector<QModelIndex> stack{QModelIndex()};
        int visited = 0;
        while (!stack.empty()) {
            const QModelIndex parent = stack.back();
            stack.pop_back();
            for (int r = 0; r < model->rowCount(parent); ++r) {
                stack.push_back(model->index(r, 0, parent));
                (void)model->data(stack.back());
                ++visited;
            }
        }
        const double withModel = heapMiB();
        row("Memory of the model over 100,000 notes (at most 50)",
            QStringLiteral("%1 MiB (%2 nodes walked)").arg(withModel - opened, 0, 'f', 1).arg(visited));
        model.reset();
        {
            Window w(service);
            w.tree.SetSubtreeExpanded(outcome.notebook->RootNode, true);
            w.tree.viewport()->repaint();
            row("Memory of the shown tree, every folder expanded",
                QStringLiteral("%1 MiB").arg(heapMiB() - withModel, 0, 'f', 1));
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int count = 100000;
    QString folder;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--notes"))
            count = args[++i].toInt();
        else if (args[i] == QLatin1String("--dir"))
            folder = args[++i];
    }
    TVlrLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    TExtLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    QTemporaryDir tmp;
    const QString dir = folder.isEmpty() ? tmp.path() : folder;
    const QString big = dir + QStringLiteral("/tree-bench.vlr");
    const QString wide = dir + QStringLiteral("/tree-wide.vlr");
    QFile::remove(big);
    QFile::remove(wide);

    std::printf("Notes tree, notebook of %d notes in folders of 100; a folder of 10,000 notes\n\n", count);
    std::printf("| %-52s | %s |\n|---|---|\n", "measure", "value");
    QElapsedTimer t;
    t.start();
    if (!writeNotebook(big, count, 100) || !writeNotebook(wide, 10000, 10000)) {
        std::fprintf(stderr, "generation failed\n");
        return 1;
    }
    row("generate both notebooks", QStringLiteral("%1 s").arg(t.elapsed() / 1000.0, 0, 'f', 1));
    return measure(big, wide);
}
