// Every document of the shared corpus: it reads, its plain text equals the
// document's text, and it survives writing and reading again.
#include "doc_compare.h"
#include "rtf/rtf.h"
#include "support/test_paths.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QStringList corpusFiles() {
    const QString dir = vlr::test::testDataDir();
    if (dir.isEmpty())
        return {};
    QStringList out;
    for (const QString& name :
         QDir(dir + QStringLiteral("/rtf")).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name))
        out << dir + QStringLiteral("/rtf/") + name;
    return out;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

TEST(RtfCorpus, PlainTextEqualsDocumentText) {
    VLR_REQUIRE_TESTDATA();
    const QStringList files = corpusFiles();
    ASSERT_FALSE(files.isEmpty());
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray data = readFile(path);
        QTextDocument doc;
        if (!vlr::rtf::readRtf(data, &doc)) {
            EXPECT_FALSE(vlr::rtf::looksLikeRtf(data));
            continue;
        }
        EXPECT_EQ(vlr::rtf::rtfToPlainText(data), doc.toPlainText());
    }
}

TEST(RtfCorpus, RoundTripKeepsTheDocumentAndWritingIsStable) {
    VLR_REQUIRE_TESTDATA();
    for (const QString& path : corpusFiles()) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray data = readFile(path);
        QTextDocument first;
        if (!vlr::rtf::readRtf(data, &first))
            continue;
        const QByteArray written = vlr::rtf::writeRtf(&first);
        QTextDocument second;
        ASSERT_TRUE(vlr::rtf::readRtf(written, &second));
        const QString diff = vlr::test::compareDocuments(first, second);
        EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
        EXPECT_TRUE(vlr::rtf::rtfToPlainText(written) == second.toPlainText());
        const QByteArray again = vlr::rtf::writeRtf(&second);
        if (again != written) {
            qsizetype i = 0;
            while (i < again.size() && i < written.size() && again[i] == written[i])
                ++i;
            ADD_FAILURE() << "writing is not stable at byte " << i << ":\n"
                          << written.mid(qMax<qsizetype>(0, i - 80), 200).toStdString() << "\n---\n"
                          << again.mid(qMax<qsizetype>(0, i - 80), 200).toStdString();
        }
    }
}

} // namespace
