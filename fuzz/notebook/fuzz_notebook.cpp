// Arbitrary bytes as a notebook file: open it, read every body, check it,
// and salvage what survives of it into a new notebook. Whatever the bytes,
// the engine must neither crash, hang nor write the file.
#include "core/messages.h"
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/images/default_images.h"
#include "storage/notebook_salvage.h"
#include "storage/notebook_service.h"
#include "storage/salvage_writer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

namespace {

struct Silent : vlr::MessageService {
    int show(const vlr::MessageRequest& r) override { return vlr::defaultAnswer(r); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_notebook";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Silent silent;
    static QTemporaryDir dir;
    static bool once = [] {
        vlr::setMessageService(&silent);
        vlr::TVlrLib::setLibraryFolder(QCoreApplication::applicationDirPath());
        vlr::TExtLib::setLibraryFolder(QCoreApplication::applicationDirPath());
        return true;
    }();
    (void)once;

    const QString path = dir.filePath(QStringLiteral("f.vlr"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qsizetype(size));
    }
    vlr::TNotebookService service(vlr::defaultImages());
    vlr::OpenOptions options;
    options.readOnly = true;
    options.askPassword = [](vlr::TNodeRoot*, vlr::TNodeRoot* notebook, bool& res) {
        res = vlr::Unlock(*notebook, QStringLiteral("password"));
    };
    const vlr::OpenOutcome outcome = service.Open(path, options);
    if (vlr::TNodeRoot* nb = outcome.notebook) {
        for (int i = 0; i < nb->Notes.size(); ++i) {
            QByteArray body;
            nb->ReadNote(i, body);
        }
        for (const vlr::TNodeData* note : std::as_const(nb->DeletedNotes)) {
            QByteArray body;
            nb->DecodeNote(*note, body, nullptr, nullptr);
        }
    }
    vlr::DamagedNotebook damaged;
    if (damaged.read(path)) {
        damaged.unlock(QStringLiteral("password"));
        const vlr::SalvageResult result = damaged.salvage();
        if (result.counts.whole + result.counts.nameless == 0)
            return 0; // nothing to write, as in vlr and the program
        const QString out = dir.filePath(QStringLiteral("salvaged.vlr"));
        QFile::remove(out);
        vlr::TNotebookService writer(vlr::defaultImages());
        QString error;
        vlr::WriteSalvagedNotebook(writer, damaged, result, out, &error);
    }
    return 0;
}
