// RTF files that leave the program carry their letters as \uN, so readers
// that ignore the code page read Russian, Greek and the rest right.
#include "exchange/converters.h"
#include "exchange/export_document.h"
#include "exchange/multi_export.h"
#include "exchange/safe_write.h"
#include "exchange/single_export.h"
#include "exchange_fixture.h"
#include "rtf/rtf.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocument>

#include <functional>

using namespace vlr;
using namespace vlr::test;

namespace {

class PortableRtf : public ExchangeTest {};

QString pandocText(const QString& file) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(QStringLiteral("pandoc")), {"-f", "rtf", "-t", "plain", file});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST_F(PortableRtf, ExportedFilesSpellEveryLetterInUnicode) {
    // Stored bodies as the editor writes them: Windows-1251 escapes for
    // Russian, \uN? for what that page lacks.
    note(QStringLiteral("Russian"), rtfBody("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2"));
    note(QStringLiteral("Greek"), rtfBody("\\u937?\\u956?\\u941?\\u947?\\u945?"));
    const QString russian = QStringLiteral("Привет"), greek = QStringLiteral("Ωμέγα");

    struct Case {
        const char* name;
        std::function<QStringList()> write; // the files written
    } cases[] = {
        {"one file",
         [&] {
             const QString file = dir.filePath(QStringLiteral("all.rtf"));
             const TCombinedDocument doc = GenerateDocument(treeFrom(root()), TDocumentOptions{});
             EXPECT_TRUE(
                 SaveDocument(doc, TDocumentTarget::FileRTF, file, {}, TWriteGuard{}, nullptr, nullptr));
             return QStringList{file};
         }},
        {"a file a note",
         [&] {
             TFilesExportOptions o;
             o.folder = dir.filePath(QStringLiteral("notes"));
             TConverterRun converters;
             ExportFilesPerNote(treeFrom(root()), o, TWriteGuard::ForNotebooks(book->service), converters);
             return QStringList{QDir(o.folder).filePath(QStringLiteral("Russian.rtf")),
                                QDir(o.folder).filePath(QStringLiteral("Greek.rtf"))};
         }},
    };
    const bool pandoc = !QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString read, byPandoc;
        QByteArray all;
        for (const QString& file : c.write()) {
            const QByteArray bytes = fileBytes(file);
            all += bytes;
            QTextDocument doc;
            ASSERT_TRUE(rtf::readRtf(bytes, &doc)) << file.toStdString();
            read += doc.toPlainText();
            if (pandoc)
                byPandoc += pandocText(file);
        }
        EXPECT_TRUE(all.contains("\\u1055\\'cf")) << all.constData();
        EXPECT_TRUE(all.contains("\\u937")) << all.constData();
        for (const QString& word : {russian, greek}) {
            EXPECT_TRUE(read.contains(word)) << read.toStdString();
            if (pandoc) {
                EXPECT_TRUE(byPandoc.contains(word)) << byPandoc.toStdString();
            }
        }
    }
}

TEST_F(PortableRtf, NotesWrittenFromAnExportKeepTheCompactForm) {
    note(QStringLiteral("Russian"), rtfBody("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2"));
    const TCombinedDocument doc = GenerateDocument(treeFrom(root()), TDocumentOptions{});
    EXPECT_TRUE(doc.Rtf().contains("\\'cf\\'f0")) << doc.Rtf().constData();
    EXPECT_FALSE(doc.Rtf().contains("\\u1055"));
}
