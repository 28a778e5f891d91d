// Converter programs: found on a search path, run on private files, their
// failures, time limit and Stop reported, and no partial file left behind.
#include "exchange/converters.h"
#include "exchange/export_document.h"
#include "exchange/import_run.h"
#include "exchange/safe_write.h"
#include "exchange/single_export.h"
#include "exchange_fixture.h"
#include "rtf/rtf.h"

#include <QElapsedTimer>
#include <QFile>

using namespace vlr;
using namespace vlr::test;

namespace {

class Converters : public ExchangeTest {
protected:
    // A stand-in program: its shell body sees the arguments as "$@"; $OUT is the value after -o.
    void program(const QString& name, const QByteArray& body) {
        const QString file = dir.filePath(QStringLiteral("bin/") + name);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nOUT=\nprev=\nfor a in \"$@\"; do [ \"$prev\" = \"-o\" ] && OUT=\"$a\"; "
                "prev=\"$a\"; done\n" +
                body + "\n");
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    QStringList searchPath() const { return {dir.filePath(QStringLiteral("bin"))}; }
};

} // namespace

TEST_F(Converters, FoundOnTheSearchPathOnly) {
    EXPECT_TRUE(ExportConverters(searchPath()).isEmpty());
    program(QStringLiteral("pandoc"), "exit 0");
    const QList<TConverter> exports = ExportConverters(searchPath());
    ASSERT_EQ(exports.size(), 1);
    EXPECT_EQ(exports.first().Filter(), QStringLiteral("*.md;*.docx;*.odt;*.epub"));
    EXPECT_EQ(AcceptedExtensions(ImportConverters(searchPath())),
              QStringLiteral("txt rtf md docx odt html htm"));
}

TEST_F(Converters, ImportThroughAConverterAndItsFailures) {
    program(QStringLiteral("pandoc"), "grep -q fail \"$8\" && { echo broken >&2; exit 3; }\n"
                                      "grep -q hang \"$8\" && sleep 30\n"
                                      "printf '{\\\\rtf1\\\\ansi converted}' > \"$OUT\"");
    const QList<TConverter> converters = ImportConverters(searchPath());
    const QString accepted = AcceptedExtensions(converters);
    QList<TImportRow> list;
    for (const char* text : {"ok", "fail", "hang"}) {
        const QString file = dir.filePath(QString::fromLatin1(text) + QStringLiteral(".md"));
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        list.append(*MakeImportRow(file, accepted, converters));
        EXPECT_EQ(list.last().converter, 0);
    }
    TImportSettings s;
    s.mode = TImportMode::OneNote;
    TConverterRun run(1500);
    QElapsedTimer clock;
    clock.start();
    const TImportOutcome r = ImportFiles(book->service, root(), list, s, converters, run);
    EXPECT_LT(clock.elapsed(), 10000) << "the hanging converter is cut off";
    EXPECT_EQ(r.failed, 2);
    const QString text = rtf::rtfToPlainText(r.notes.first()->Body);
    EXPECT_TRUE(text.startsWith(QStringLiteral("converted\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Ошибка импорта ") + list[1].fileName +
                              QStringLiteral(" using Pandoc")));
    EXPECT_TRUE(text.contains(QStringLiteral("Ошибка импорта ") + list[2].fileName +
                              QStringLiteral(" using Pandoc")));
}

TEST_F(Converters, AFailedOrStoppedExportLeavesNoFile) {
    note(QStringLiteral("N"), rtfBody("text"));
    TExportTree tree = treeFrom(root());
    const TCombinedDocument doc = GenerateDocument(tree, TDocumentOptions{});
    const TWriteGuard guard;
    const QString target = dir.filePath(QStringLiteral("out.docx"));

    program(QStringLiteral("pandoc"), "printf partial > \"$OUT\"; exit 1");
    TConverter pandoc = ExportConverters(searchPath()).first();
    TConverterRun run;
    const TExportOutcome failed =
        SaveDocument(doc, TDocumentTarget::Converter, target, {}, guard, &pandoc, &run);
    EXPECT_FALSE(failed);
    EXPECT_TRUE(failed.error.contains(QStringLiteral("exit code 1"))) << failed.error.toStdString();
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_FALSE(SaveDocument(doc, TDocumentTarget::Converter, dir.filePath(QStringLiteral("out.xyz")), {},
                              guard, &pandoc, &run));

    program(QStringLiteral("pandoc"), "sleep 30");
    pandoc = ExportConverters(searchPath()).first();
    progress.stopAtStep(3);
    TConverterRun stopped;
    const TExportOutcome cancelled =
        SaveDocument(doc, TDocumentTarget::Converter, target, {}, guard, &pandoc, &stopped);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(QFile::exists(target));

    program(QStringLiteral("pandoc"), "grep -q '<HTML' \"$7\" && printf done > \"$OUT\"");
    pandoc = ExportConverters(searchPath()).first();
    TConverterRun good;
    ASSERT_TRUE(SaveDocument(doc, TDocumentTarget::Converter, target, {}, guard, &pandoc, &good));
    EXPECT_EQ(fileBytes(target), "done");
}
