// Salvage of a large damaged notebook: generates N notes (about 1 KB of RTF
// each), cuts the file in half (the tree table is lost, the bodies of the
// first half stay) and measures finding them and writing the new notebook;
// then the same with the whole table and only the picture strip cut.
//   bench_salvage [--notes N] [--mode plain|compressed|secure] [--dir DIR]
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/images/default_images.h"
#include "storage/notebook_salvage.h"
#include "storage/notebook_service.h"
#include "storage/salvage_writer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace vlr;

namespace {

const QString kPassword = QStringLiteral("bench");

QByteArray body(int index) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\pard ";
    while (rtf.size() < 1000)
        rtf += "\\'e7\\'e0\\'ec\\'e5\\'f2\\'ea\\'e0 " + QByteArray::number(index) + " text\\par ";
    return rtf + "}";
}

void measure(const char* what, const QString& damagedPath, const QString& out, bool secure) {
    QElapsedTimer clock;
    clock.start();
    DamagedNotebook damaged;
    if (!damaged.read(damagedPath)) {
        std::printf("%s: cannot read: %s\n", what, qPrintable(damaged.errorString()));
        return;
    }
    if (secure && !damaged.unlock(kPassword))
        std::printf("%s: the password does not open it\n", what);
    const qint64 readMs = clock.restart();
    const SalvageResult result = damaged.salvage();
    const qint64 findMs = clock.restart();
    TNotebookService service(defaultImages());
    StorageError error;
    QFile::remove(out);
    TNodeRoot* nb = WriteSalvagedNotebook(service, damaged, result, out, &error);
    const qint64 writeMs = clock.elapsed();
    std::printf("%-28s read %6lld ms  find %6lld ms  write %6lld ms  whole %6d  nameless %6d  lost %6d%s\n",
                what, readMs, findMs, writeMs, result.counts.whole, result.counts.nameless,
                result.counts.lost,
                nb ? "" : qPrintable(QStringLiteral("  (not written: %1)").arg(describe(error))));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int notes = 10000;
    QString mode = QStringLiteral("plain");
    QString folder;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--notes"))
            notes = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--mode"))
            mode = args[i + 1];
        else if (args[i] == QLatin1String("--dir"))
            folder = args[i + 1];
    }
    const QString binDir = QCoreApplication::applicationDirPath();
    TVlrLib::setLibraryFolder(binDir);
    TExtLib::setLibraryFolder(binDir);
    QTemporaryDir temp(folder.isEmpty() ? QDir::tempPath() + QStringLiteral("/bench-salvage-XXXXXX")
                                        : folder + QStringLiteral("/bench-salvage-XXXXXX"));
    const QString whole = temp.filePath(QStringLiteral("whole.vlr"));
    const bool secure = mode == QLatin1String("secure");
    {
        TNotebookService service(defaultImages());
        NewNotebookDefaults d;
        d.compress = mode != QLatin1String("plain");
        TNodeRoot* nb = service.Create(d, whole);
        if (secure && !service.Protect(*nb, kPassword))
            return 1;
        for (int i = 0; i < notes; ++i) {
            TNodeData* note = service.AddNote(*nb, nb->RootNode, nb->RootNode->Count(),
                                              QStringLiteral("запись %1").arg(i), NewNoteDefaults{}, false);
            service.SetBody(*note, body(i));
        }
        if (service.Save(*nb) != srOk)
            return 1;
    }
    QFile f(whole);
    if (!f.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = f.readAll();
    std::printf("%d notes, %s, %lld bytes\n", notes, qPrintable(mode), qint64(bytes.size()));
    auto cut = [&](const QString& name, qint64 size) {
        QFile out(temp.filePath(name));
        if (out.open(QIODevice::WriteOnly))
            out.write(bytes.left(size));
        return out.fileName();
    };
    measure("cut in half", cut(QStringLiteral("half.vlr"), bytes.size() / 2),
            temp.filePath(QStringLiteral("a.vlr")), secure);
    measure("picture strip cut", cut(QStringLiteral("strip.vlr"), bytes.size() - 10),
            temp.filePath(QStringLiteral("b.vlr")), secure);
    return 0;
}
