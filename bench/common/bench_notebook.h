#pragma once
// The large notebooks the benchmarks generate: one way to make them, plain
// or compressed and encrypted, so that figures of different benchmarks speak
// of the same kind of file.
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/notebook_service.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace vlr::bench {

// A new notebook at path in the service, with small reserves as a generator
// wants; secure compresses and encrypts it under the password. None when
// the random source failed.
inline TNodeRoot* createBenchNotebook(TNotebookService& service, const QString& path, bool secure,
                                      const QString& password) {
    NewNotebookDefaults d;
    d.name = QStringLiteral("bench");
    d.reserveSize = 100;
    d.compress = secure;
    TNodeRoot* nb = service.Create(d, path);
    if (secure && !service.Protect(*nb, password)) {
        std::fprintf(stderr, "no random source\n");
        return nullptr;
    }
    return nb;
}

// The words every generating benchmark takes:
//   --notes N, --mode plain|secure, --dir DIR, --runs R, --measure
struct BenchArgs {
    int notes = 100000;
    bool secure = false;
    QString folder;
    int runs = 3;
    bool measure = false; // the measuring half, in a fresh process
};

inline BenchArgs parseBenchArgs(const QStringList& args) {
    BenchArgs a;
    for (int i = 1; i < args.size(); ++i) {
        const QString& w = args[i];
        const bool hasValue = i + 1 < args.size();
        if (w == QLatin1String("--measure"))
            a.measure = true;
        else if (w == QLatin1String("--notes") && hasValue)
            a.notes = args[++i].toInt();
        else if (w == QLatin1String("--mode") && hasValue)
            a.secure = args[++i] == QLatin1String("secure");
        else if (w == QLatin1String("--dir") && hasValue)
            a.folder = args[++i];
        else if (w == QLatin1String("--runs") && hasValue)
            a.runs = qMax(1, args[++i].toInt());
    }
    return a;
}

// The companion libraries beside the benchmark, as beside the program.
inline void useLibrariesBesideProgram() {
    TVlrLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    TExtLib::setLibraryFolder(QCoreApplication::applicationDirPath());
}

} // namespace vlr::bench
