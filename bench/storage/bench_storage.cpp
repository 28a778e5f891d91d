// Generates a notebook of 100,000 notes (about 1 KB of RTF each) and measures
// opening, reading every body, durable saves of one changed body (in place,
// and grown past its reserve) with what they journal, and packing.
//   bench_storage [--notes N] [--mode plain|secure] [--dir DIR]
// Figures go to standard output as a table. The measurements run in a fresh
// process, so the memory figures do not include the generator's heap.
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/images/default_images.h"
#include "storage/node_root.h"
#include "storage/notebook_service.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

using namespace vlr;

namespace {

// Peak resident memory since the last reset, in MiB.
double peakMiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

double currentMiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

QByteArray rtfBody(QRandomGenerator& random, int index) {
    static const char* const words[] = {"\\'ea\\'ed\\'e8\\'e6\\'ea\\'e0",
                                        "\\'e7\\'e0\\'ec\\'e5\\'f2\\'ea\\'e0",
                                        "note",
                                        "\\'e4\\'e5\\'eb\\'ee",
                                        "project",
                                        "\\'e8\\'e4\\'e5\\'ff",
                                        "list",
                                        "\\'f2\\'e5\\'ea\\'f1\\'f2"};
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    rtf += "Note " + QByteArray::number(index) + "\\par ";
    while (rtf.size() < 1000) {
        rtf += words[random.bounded(8)];
        rtf += random.bounded(10) == 0 ? "\\par\r\n" : " ";
        if (random.bounded(40) == 0)
            rtf += "{\\b bold} ";
    }
    return rtf + "\\par\r\n}\r\n";
}

void row(const char* what, const QString& value) {
    std::printf("| %-44s | %s |\n", what, value.toUtf8().constData());
}

int measure(const QString& path, int count, const QString& password) {
    const qint64 fileSize = QFileInfo(path).size();
    QElapsedTimer t;

    TNotebookService service(defaultImages());
    OpenOptions options;
    options.askPassword = [&](TNodeRoot*, TNodeRoot* notebook, bool& res) {
        res = service.Unlock(*notebook, password);
    };
    const double before = currentMiB();
    resetPeak();
    t.start();
    const OpenOutcome outcome = service.Open(path, options);
    const int result = outcome.result;
    TNodeRoot* nb = outcome.notebook;
    const qint64 openMs = t.elapsed();
    if (result != lrOk) {
        std::fprintf(stderr, "open failed: %d\n", result);
        return 1;
    }
    row("open (LoadNotes)", QStringLiteral("%1 ms").arg(openMs));
    row("memory while opening (peak over start)",
        QStringLiteral("%1 MiB").arg(peakMiB() - before, 0, 'f', 1));
    const qint64 tableAndStrip = fileSize - nb->Header.TreeOffset();
    row("bytes read by open", QStringLiteral("%1 (header + tree + strip = %2)")
                                  .arg(nb->File().bytesRead())
                                  .arg(1024 + tableAndStrip));

    t.start();
    qint64 bodyBytes = 0;
    for (int i = 0; i < nb->Notes.size(); ++i)
        bodyBytes += qMax<qint64>(0, nb->ReadNoteByIndex(i));
    const qint64 readMs = qMax<qint64>(1, t.elapsed());
    row("read every body", QStringLiteral("%1 ms, %2 MB/s of body text")
                               .arg(readMs)
                               .arg(bodyBytes / 1e6 / (readMs / 1000.0), 0, 'f', 1));
    row("memory with every body loaded", QStringLiteral("%1 MiB").arg(currentMiB(), 0, 'f', 1));

    // A save after one changed body, durable: journal, syncs and all.
    auto timedSave = [&](const char* what, TNodeData* changed, const QByteArray& body) {
        const int32_t offset = changed->Record.Offset();
        service.SetBody(*changed, body);
        const qint64 writtenBefore = nb->File().bytesWritten();
        t.start();
        if (service.Save(*nb) != srOk) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(describe(nb->SaveError)));
            return false;
        }
        const qint64 ms = t.elapsed();
        row(what, QStringLiteral("%1 ms; %2 bytes written to the notebook, %3 to the journal (body %4)")
                      .arg(ms)
                      .arg(nb->File().bytesWritten() - writtenBefore)
                      .arg(nb->LastJournalBytes)
                      .arg(changed->Record.Offset() == offset ? QStringLiteral("in place")
                                                              : QStringLiteral("moved to the end")));
        return true;
    };
    // One changed body that still fits its reserve: written where it is.
    TNodeData* edited = nb->Notes[count / 3];
    QByteArray same = edited->Body;
    same[same.size() / 2] = same[same.size() / 2] == 'x' ? 'y' : 'x';
    if (!timedSave("save after one body changed in place", edited, same))
        return 1;
    // One changed body that no longer fits its reserve: it moves to the end,
    // so the tree table and the strip move behind it. (Text that does not
    // compress away, so that it outgrows a compressed body's reserve too.)
    TNodeData* changed = nb->Notes[count / 2];
    QByteArray grown = changed->Body;
    QRandomGenerator noise(2);
    QByteArray extra(600, Qt::Uninitialized);
    for (char& c : extra)
        c = char('a' + noise.bounded(26));
    grown.insert(grown.size() - 4, extra);
    if (!timedSave("save after one body grown past its reserve", changed, grown))
        return 1;

    // Waste some space, then pack.
    for (int i = 0; i < count; i += 10) {
        TNodeData* n = nb->Notes[i];
        service.SetBody(*n, n->Body + QByteArray(200, 'y'));
    }
    (void)service.Save(*nb);
    const qint64 wasted = nb->WastedSpace();
    t.start();
    const qint64 freed = nb->PackNotes(false);
    row("pack (after growing every tenth body)",
        QStringLiteral("%1 ms, %2 MB freed of %3 MB wasted; journal %4 MB")
            .arg(t.elapsed())
            .arg(freed / 1e6, 0, 'f', 1)
            .arg(wasted / 1e6, 0, 'f', 1)
            .arg(nb->LastJournalBytes / 1e6, 0, 'f', 1));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int count = 100000;
    bool secure = false;
    QString folder;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--notes"))
            count = args[++i].toInt();
        else if (args[i] == QLatin1String("--mode"))
            secure = args[++i] == QLatin1String("secure");
        else if (args[i] == QLatin1String("--dir"))
            folder = args[++i];
    }
    TVlrLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    TExtLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    QTemporaryDir tmp;
    const QString password = QStringLiteral("bench password");
    const int measureAt = int(args.indexOf(QStringLiteral("--measure")));
    if (measureAt > 0 && measureAt + 1 < args.size())
        return measure(args[measureAt + 1], count, password);
    const QString path = (folder.isEmpty() ? tmp.path() : folder) + QStringLiteral("/bench.vlr");
    QFile::remove(path);

    std::printf("Notebook of %d notes, %s\n\n", count, secure ? "compressed and encrypted" : "plain");
    std::printf("| %-44s | %s |\n|---|---|\n", "measure", "value");
    std::fflush(stdout);
    QElapsedTimer t;
    qint64 rawBytes = 0;
    {
        QRandomGenerator random(1);
        t.start();
        TNotebookService service(defaultImages());
        NewNotebookDefaults d;
        d.name = QStringLiteral("bench");
        d.reserveSize = 100;
        d.compress = secure;
        TNodeRoot* nb = service.Create(d, path);
        if (secure && !service.Protect(*nb, password)) {
            std::fprintf(stderr, "no random source\n");
            return 1;
        }
        TTreeNode* parent = nb->RootNode;
        for (int i = 0; i < count; ++i) {
            // Folders of 100 notes each.
            if (i % 100 == 0)
                parent = nb->RootNode;
            TNodeData* note = service.AddNote(*nb, parent, parent->Count(),
                                              QStringLiteral("Запись %1").arg(i), NewNoteDefaults{}, false);
            service.SetBody(*note, rtfBody(random, i));
            rawBytes += note->Body.size();
            if (i % 100 == 0)
                parent = note->TreeNode;
        }
        if (service.Save(*nb) != srOk) {
            std::fprintf(stderr, "generation failed\n");
            return 1;
        }
        row("generate and first save", QStringLiteral("%1 s").arg(t.elapsed() / 1000.0, 0, 'f', 2));
    }
    const qint64 fileSize = QFileInfo(path).size();
    row("file size",
        QStringLiteral("%1 MB (%2 MB of RTF)").arg(fileSize / 1e6, 0, 'f', 1).arg(rawBytes / 1e6, 0, 'f', 1));
    std::fflush(stdout);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--notes"), QString::number(count), QStringLiteral("--measure"), path});
    child.waitForFinished(-1);
    return child.exitCode();
}
