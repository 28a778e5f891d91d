// vlr search against notebooks made with vlr: rows, JSON, the options and
// the exit codes scripts rely on (0 found, 1 nothing, 2 unusable input).
#include "support/test_paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vlr;

namespace {

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

Outcome vlrRun(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("VLR_PASSWORD"));
    p.setProcessEnvironment(env);
    p.start(test::binDir() + QStringLiteral("/vlr"), args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

class VlrSearch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath(QStringLiteral("s.vlr"));
        ASSERT_EQ(vlrRun({"new", file, "--title", "Книжка"}).code, 0);
        add({"--name", "Первая", "--plain"}, "Привет, мир! Пирог\tс вишней");
        add({"--name", "Пирог", "--under", "0"},
            "{\\rtf1\\ansi Hello {\\b pie} and \\u1087?\\u1080?\\u1088?\\u1086?\\u1075? world\\par}");
        add({"--name", "Третья"}, "{\\rtf1\\ansi nothing here\\par}");
    }
    void add(const QStringList& options, const QByteArray& body) {
        const Outcome r = vlrRun(QStringList{"add", file} + options + QStringList{"--body", "-"}, body);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
    }
    Outcome search(const QStringList& rest) { return vlrRun(QStringList{"search", file} + rest); }

    QTemporaryDir dir;
    QString file;
};

} // namespace

TEST_F(VlrSearch, PrintsOneLinePerRowTitleFirst) {
    const Outcome r = search({"ПИРОГ"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(), "Книжка | Первая\tbody\t14\t1\tПирог с вишней\n"
                                   "Книжка | Первая | Пирог\ttitle\t1\t1\tПирог\n"
                                   "Книжка | Первая | Пирог\tbody\t15\t1\tпирог world\n");
}

TEST_F(VlrSearch, JsonRowsAndTheOptions) {
    const Outcome r = search({"pie|мир", "--regex", "--json"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 2);
    const QJsonObject first = rows[0].toObject();
    EXPECT_EQ(first["note"].toInt(), 0);
    EXPECT_EQ(first["caption"].toString(), QStringLiteral("Книжка | Первая"));
    EXPECT_EQ(first["in"].toString(), QStringLiteral("body"));
    EXPECT_EQ(first["position"].toInt(), 9);
    EXPECT_EQ(first["length"].toInt(), 3);
    EXPECT_EQ(first["rank"].toInt(), 1);
    EXPECT_EQ(rows[1].toObject()["note"].toInt(), 1);

    struct Case {
        QStringList args;
        int code;
        int lines;
    } cases[] = {
        {{"hello пирог", "--all"}, 0, 1},  // both words in one body
        {{"hello вишней", "--all"}, 1, 0}, // never together
        {{"hello вишней", "--any"}, 0, 2}, // one each
        {{"pi", "--words"}, 1, 0},         // no whole word "pi"
        {{"Hello", "--case"}, 0, 1},
        {{"HELLO", "--case"}, 1, 0},
        {{"пирог", "--under", "1"}, 0, 2}, // the note and its subtree only
        {{"пирог", "--under", "Третья"}, 1, 0},
    };
    for (const Case& c : cases) {
        const Outcome got = search(c.args);
        EXPECT_EQ(got.code, c.code) << c.args.join(' ').toStdString() << ": " << got.err.toStdString();
        EXPECT_EQ(got.out.count(u'\n'), c.lines) << c.args.join(' ').toStdString();
    }
}

TEST_F(VlrSearch, UnusableInputExitsWithTwo) {
    const Outcome bad = search({"a(b", "--regex"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("at character 4"))) << bad.err.toStdString();
    EXPECT_EQ(search({"x", "--any", "--all"}).code, 2);
    EXPECT_EQ(search({""}).code, 2);
    EXPECT_EQ(search({"x", "--under", "99"}).code, 2);
    EXPECT_EQ(vlrRun({"search", dir.filePath("missing.vlr"), "x"}).code, 2);
    EXPECT_EQ(vlrRun({"search", file}).code, 2);
}
