// `vlr rtf` as a user runs it (skipped until the vlr tool is built beside the tests).
#include "support/test_paths.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString vlrPath() {
    return vlr::test::binDir() + QStringLiteral("/vlr");
}

struct VlrRun {
    int code;
    QByteArray out, err;
};

VlrRun runVlr(const QStringList& args, const QString& platform = {}) {
    QProcess p;
    if (!platform.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        p.setProcessEnvironment(env);
    }
    p.start(vlrPath(), QStringList{"rtf"} + args);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

TEST(VlrRtf, ConvertsAFileEachWay) {
    if (!QFile::exists(vlrPath()))
        GTEST_SKIP() << "vlr not built";
    QTemporaryDir dir;
    const QString file = dir.filePath("n.rtf");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8<b>\\par x}");
    f.close();
    VlrRun text = runVlr({file});
    EXPECT_EQ(text.code, 0);
    EXPECT_EQ(QString::fromUtf8(text.out), u"При<b>\nx"_qs);
    VlrRun html = runVlr({file, "--to", "html"});
    EXPECT_TRUE(html.out.contains("При&lt;b&gt;"));
    VlrRun rtf = runVlr({file, "--to", "rtf"});
    EXPECT_TRUE(rtf.out.startsWith("{\\rtf1\\ansi\\ansicpg1251"));
    VlrRun bad = runVlr({dir.filePath("missing.rtf")});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.err.count('\n'), 1);
    // Not RTF: taken as plain text.
    QFile p(dir.filePath("p.txt"));
    ASSERT_TRUE(p.open(QIODevice::WriteOnly));
    p.write("plain\r\ntext");
    p.close();
    EXPECT_EQ(runVlr({p.fileName()}).out, "plain\ntext");
}

TEST(VlrRtf, TextOutNeedsNoGraphicalSession) {
    // Text conversion starts without a GUI application (its start-up cost);
    // a platform that cannot load shows that none is created.
    if (!QFile::exists(vlrPath()))
        GTEST_SKIP() << "vlr not built";
    QTemporaryDir dir;
    QFile f(dir.filePath("n.rtf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1\\ansi one\\par two}");
    f.close();
    for (const QStringList& args : {QStringList{f.fileName()}, QStringList{f.fileName(), "--to", "text"}}) {
        const VlrRun run = runVlr(args, QStringLiteral("no-such-platform"));
        EXPECT_EQ(run.code, 0) << run.err.constData();
        EXPECT_EQ(run.out, "one\ntwo");
    }
    EXPECT_NE(runVlr({f.fileName(), "--to", "html"}, QStringLiteral("no-such-platform")).code, 0);
}

} // namespace
