// Global search over a large notebook, side by side with rg over the same
// notes written out as text files.
//   bench_search [--notes N] [--mode plain|secure] [--dir DIR] [--runs R]
// Generates a notebook of N notes of about 1 KB of RTF each (folders of 100)
// and the plain text of every note as one file each, then measures in a
// fresh process: the first search (every body read and converted), a
// repeated search (texts from the cache), the cache's memory, the longest
// time the interface thread was held, and rg over the text files.
#include "common/bench_notebook.h"
#include "common/sample_note.h"
#include "rtf/convert.h"
#include "search/global_search.h"
#include "search/note_text_cache.h"
#include "storage/images/default_images.h"
#include "storage/notebook_service.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

using namespace vlr;

namespace {

const QString kPassword = QStringLiteral("bench password");
// One note in this many holds the rare word.
constexpr int kRareEvery = 1000;
const QByteArray kRareWord = "zanzibar";

double residentMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1 << 20) : -1;
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

QByteArray noteBody(const QByteArray& sample, int i) {
    QByteArray body = sample;
    QByteArray head = "Note " + QByteArray::number(i) + " ";
    if (i % kRareEvery == kRareEvery / 2)
        head += kRareWord + " ";
    body.insert(body.indexOf("\\fs20 ") + 6, head + "\\par ");
    return body;
}

int generate(const QString& folder, int count, bool secure) {
    const QString path = folder + QStringLiteral("/bench.vlr");
    QFile::remove(path);
    QDir(folder + QStringLiteral("/text")).removeRecursively();
    TNotebookService service(defaultImages());
    TNodeRoot* nb = bench::createBenchNotebook(service, path, secure, kPassword);
    if (!nb)
        return 1;
    const QByteArray sample = bench::sampleNoteRtf(1000);
    qint64 rtfBytes = 0, textBytes = 0;
    TTreeNode* parent = nb->RootNode;
    QDir text(folder);
    for (int i = 0; i < count; ++i) {
        if (i % 100 == 0) {
            parent = service
                         .AddNote(*nb, nb->RootNode, nb->RootNode->Count(),
                                  QStringLiteral("Папка %1").arg(i / 100), {}, false)
                         ->TreeNode;
            text.mkpath(QStringLiteral("text/%1").arg(i / 100));
        }
        const QByteArray body = noteBody(sample, i);
        TNodeData* note =
            service.AddNote(*nb, parent, parent->Count(), QStringLiteral("Запись %1").arg(i), {}, false);
        service.SetBody(*note, body);
        rtfBytes += body.size();
        // The same note as a text file for rg: its plain text, as UTF-8.
        QFile f(folder + QStringLiteral("/text/%1/%2.txt").arg(i / 100).arg(i));
        const QByteArray utf8 = rtf::convertData2(body, 0).toUtf8();
        if (!f.open(QIODevice::WriteOnly) || f.write(utf8) != utf8.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
            return 1;
        }
        textBytes += utf8.size();
    }
    if (service.Save(*nb) != srOk) {
        std::fprintf(stderr, "save failed\n");
        return 1;
    }
    std::printf("| notebook | %d notes, %.1f MB of RTF, file %.1f MB%s |\n", count, rtfBytes / 1e6,
                QFileInfo(path).size() / 1e6, secure ? ", compressed and encrypted" : "");
    std::printf("| text files for rg | %d files, %.1f MB of UTF-8 |\n", count, textBytes / 1e6);
    std::fflush(stdout);
    return 0;
}

double cpuSeconds(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Timed {
    double ms = 0;
    double cpuMs = 0; // all threads
    int rows = 0;
    TSearchRun::Stats stats;
};

// One search as the dialog runs it: in steps on this thread's event loop.
Timed searchOnce(TGlobalSearch& search, TTreeNode* root, const QString& text) {
    search.Results().Clear();
    TSearchOptions o;
    o.text = text;
    o.scope = TSearchScope::CurrentNotebook;
    QEventLoop loop;
    QObject::connect(&search, &TGlobalSearch::finished, &loop, &QEventLoop::quit);
    QElapsedTimer t;
    t.start();
    const double cpu = cpuSeconds();
    if (search.Start(o, root).outcome != TGlobalSearch::Outcome::Started)
        return {};
    loop.exec();
    return {t.nsecsElapsed() / 1e6, (cpuSeconds() - cpu) * 1000, search.Results().rowCount(),
            search.LastStats()};
}

// Median wall time of rg counting the pattern's matches in the text files.
double rgMs(const QString& rg, const QString& folder, const QString& pattern, int runs, int* files,
            double* cpuMs) {
    std::vector<double> times;
    const double cpu = cpuSeconds(RUSAGE_CHILDREN);
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        p.start(rg, {QStringLiteral("-i"), QStringLiteral("-c"), pattern, folder + QStringLiteral("/text")});
        p.waitForFinished(-1);
        times.push_back(t.nsecsElapsed() / 1e6);
        *files = int(p.readAllStandardOutput().count('\n'));
    }
    *cpuMs = (cpuSeconds(RUSAGE_CHILDREN) - cpu) * 1000 / runs;
    return bench::median(times);
}

qint64 folderBytes(const QString& folder) {
    qint64 total = 0;
    QDir root(folder + QStringLiteral("/text"));
    for (const QString& sub : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QFileInfo& f : QDir(root.filePath(sub)).entryInfoList(QDir::Files))
            total += f.size();
    return total;
}

void row(const char* what, const QString& value) {
    std::printf("| %s | %s |\n", what, value.toUtf8().constData());
    std::fflush(stdout);
}

int measure(const QString& folder, int runs) {
    TNotebookService service(defaultImages());
    OpenOptions options;
    options.readOnly = true;
    options.askPassword = [&](TNodeRoot*, TNodeRoot* notebook, bool& res) {
        res = service.Unlock(*notebook, kPassword);
    };
    const OpenOutcome opened = service.Open(folder + QStringLiteral("/bench.vlr"), options);
    if (opened.result != lrOk) {
        std::fprintf(stderr, "open failed: %d\n", opened.result);
        return 1;
    }
    TTreeNode* root = opened.notebook->RootNode;
    const qint64 textBytes = folderBytes(folder);
    const double openMiB = residentMiB();
    TNoteTextCache cache(service);
    TGlobalSearch search(service, &cache);
    const auto mbps = [&](double ms) { return textBytes / 1e6 / (ms / 1000); };

    const Timed first = searchOnce(search, root, QString::fromLatin1(kRareWord));
    row("first search (rare word): time", QStringLiteral("%1 ms (CPU %3 ms), %2 rows")
                                              .arg(first.ms, 0, 'f', 0)
                                              .arg(first.rows)
                                              .arg(first.cpuMs, 0, 'f', 0));
    row("first search: bodies converted", QString::number(first.stats.converted));
    row("first search: longest hold of the interface thread",
        QStringLiteral("%1 ms").arg(first.stats.maxStepMs));
    row("text cache after it",
        QStringLiteral("%1 texts, %2 MiB (process %3 MiB over the open notebook's %4 MiB)")
            .arg(cache.Count())
            .arg(cache.Bytes() / double(1 << 20), 0, 'f', 1)
            .arg(residentMiB() - openMiB, 0, 'f', 1)
            .arg(openMiB, 0, 'f', 1));

    const QString rg = QStandardPaths::findExecutable(QStringLiteral("rg"));
    struct Pattern {
        const char* what;
        QString text;
    } patterns[] = {{"rare word", QString::fromLatin1(kRareWord)},
                    {"Russian word in every note", QStringLiteral("французских")},
                    {"two words in every note", QStringLiteral("lazy dog")}};
    for (const Pattern& p : patterns) {
        std::vector<double> times;
        Timed again;
        for (int i = 0; i < runs; ++i) {
            again = searchOnce(search, root, p.text);
            times.push_back(again.ms);
        }
        const double ms = bench::median(times);
        QString line = QStringLiteral("%1 ms (CPU %6 ms), %2 MB/s, %3 rows, %4 converted, longest hold %5 ms")
                           .arg(ms, 0, 'f', 0)
                           .arg(mbps(ms), 0, 'f', 0)
                           .arg(again.rows)
                           .arg(again.stats.converted)
                           .arg(again.stats.maxStepMs)
                           .arg(again.cpuMs, 0, 'f', 0);
        if (!rg.isEmpty()) {
            int files = 0;
            double rgCpu = 0;
            const double rgTime = rgMs(rg, folder, p.text, runs, &files, &rgCpu);
            line += QStringLiteral("; rg %1 ms (CPU %5 ms), %2 MB/s, %3 files; ratio %4")
                        .arg(rgTime, 0, 'f', 0)
                        .arg(mbps(rgTime), 0, 'f', 0)
                        .arg(files)
                        .arg(rgTime / ms, 0, 'f', 2)
                        .arg(rgCpu, 0, 'f', 0);
        }
        const QByteArray what = QByteArray("repeated search (") + p.what + ")";
        row(what.constData(), line);
    }
    row("peak memory of the process", QStringLiteral("%1 MiB").arg(peakMiB(), 0, 'f', 0));
    // The parts of a first search, each alone on this thread.
    QElapsedTimer t;
    t.start();
    std::vector<QByteArray> bodies;
    bodies.reserve(size_t(opened.notebook->Notes.size()));
    for (int i = 0; i < opened.notebook->Notes.size(); ++i) {
        QByteArray body;
        (void)opened.notebook->ReadNote(i, body);
        bodies.push_back(std::move(body));
    }
    row("reading every body alone (ReadNote)", QStringLiteral("%1 ms").arg(t.elapsed()));
    t.start();
    qint64 chars = 0;
    for (const QByteArray& body : bodies)
        chars += rtf::convertData2(body, 0).size();
    row("converting every body alone (one thread)",
        QStringLiteral("%1 ms, %2 million characters").arg(t.elapsed()).arg(chars / 1e6, 0, 'f', 1));

    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    bench::BenchArgs a = bench::parseBenchArgs(app.arguments());
    if (a.folder.isEmpty())
        a.folder = QDir::tempPath() + QStringLiteral("/bench_search");
    bench::useLibrariesBesideProgram();
    if (a.measure)
        return measure(a.folder, a.runs);
    QDir().mkpath(a.folder);
    std::printf("| measure | value |\n|---|---|\n");
    if (const int failed = generate(a.folder, a.notes, a.secure))
        return failed;
    // Measured in a fresh process, so the generator's heap is not counted.
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--measure"), QStringLiteral("--dir"), a.folder, QStringLiteral("--runs"),
                 QString::number(a.runs)});
    child.waitForFinished(-1);
    return child.exitCode();
}
