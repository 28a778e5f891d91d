// Internal failures: their description, the error log and the reporter.
#include "core/error.h"
#include "core/error_report.h"
#include "support/recorded_errors.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vlr;
using namespace vlr::test;

namespace {
const QDateTime kWhen(QDate(2024, 3, 5), QTime(14, 7, 9, 25));

QString readLog(const QString& folder) {
    QFile f(folder + QStringLiteral("/error.log"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
}
} // namespace

TEST(ErrorReport, DescribesOwnAndForeignExceptions) {
    const auto own =
        describeError(EVellinorError(QStringLiteral("Error saving options!"), QStringLiteral("SaveOptions")),
                      QStringLiteral("FileOptions"), kWhen);
    EXPECT_EQ(own.text, QStringLiteral("Error saving options!"));
    EXPECT_EQ(own.origin, QStringLiteral("SaveOptions"));
    EXPECT_EQ(own.place, QStringLiteral("FileOptions"));
    EXPECT_EQ(own.type, QStringLiteral("vlr::EVellinorError"));
    EXPECT_EQ(own.when, kWhen);

    const auto foreign =
        describeError(std::runtime_error("bad \xff byte"), QStringLiteral("FileOpen"), kWhen);
    EXPECT_EQ(foreign.text, QStringLiteral("bad \uFFFD byte")) << "bytes that are not UTF-8 are replaced";
    EXPECT_TRUE(foreign.origin.isEmpty());
    EXPECT_EQ(foreign.type, QStringLiteral("std::runtime_error"));
}

TEST(ErrorReport, LogIsAppendedWithDatedEntries) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("new/sub")); // made when missing
    const auto first =
        describeError(EVellinorError(QStringLiteral("FATAL: Unable to initalize file storage engine!"),
                                     QStringLiteral("TNodeRoot.Create")),
                      QStringLiteral("FileOpen"), kWhen);
    const auto second = describeError(std::runtime_error("line one\r\nline two"), QStringLiteral("FileSave"),
                                      kWhen.addSecs(60));
    ASSERT_TRUE(appendErrorLog(folder, first));
    ASSERT_TRUE(appendErrorLog(folder, second));
    EXPECT_EQ(readLog(folder),
              QStringLiteral("[2024-03-05 14:07:09.025] FileOpen (raised in TNodeRoot.Create)\n"
                             "vlr::EVellinorError: FATAL: Unable to initalize file storage engine!\n\n"
                             "[2024-03-05 14:08:09.025] FileSave\n"
                             "std::runtime_error: line one\nline two\n\n"));
}

TEST(ErrorReport, AnUnwritableLogIsReportedNotThrown) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto report = describeError(std::runtime_error("x"), QStringLiteral("p"), kWhen);
    EXPECT_FALSE(appendErrorLog(blocker.fileName(), report)) << "the folder is a file";
    EXPECT_FALSE(appendErrorLog(QString(), report));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("log")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("log/error.log"))); // the log's name taken by a folder
    EXPECT_FALSE(appendErrorLog(dir.filePath(QStringLiteral("log")), report));
}

TEST(ErrorReport, CatchBlocksReachTheInstalledReporter) {
    RecordedErrors errors;
    try {
        throw EVellinorError(QStringLiteral("Fatal: Error while searching in notebook!"));
    } catch (const std::exception& e) {
        reportInternalError(e, QStringLiteral("EditFindInNotebook"));
    }
    ASSERT_EQ(errors.reports().size(), 1);
    EXPECT_EQ(errors.reports()[0].text, QStringLiteral("Fatal: Error while searching in notebook!"));
    EXPECT_EQ(errors.reports()[0].place, QStringLiteral("EditFindInNotebook"));
    EXPECT_TRUE(errors.reports()[0].when.isValid());
}
