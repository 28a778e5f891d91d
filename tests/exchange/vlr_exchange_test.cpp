// vlr export and vlr import end to end: a notebook read back through
// `vlr rtf` and pandoc, the notes brought back from a notebook file and from
// per-note files, and files that are never written.
#include "support/test_paths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int code = -1;
    QByteArray out, err;
};

class VlrExchange : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(vlr({"new", book(), "--title", "Книга"}).code, 0);
        add("Первая", "Съешь же ещё этих мягких французских булок");
        add("Вторая", "Да выпей чаю", "Первая");
        add("a/b <&>", "Третья запись", "Первая/Вторая");
        add("Четвёртая", "Последняя");
    }
    Outcome run(const QString& program, const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("VLR_PASSWORD"));
        p.setProcessEnvironment(env);
        p.start(program, args);
        EXPECT_TRUE(p.waitForStarted());
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(120000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                p.readAllStandardError()};
    }
    Outcome vlr(const QStringList& args) { return run(vlr::test::binDir() + QStringLiteral("/vlr"), args); }
    void add(const QString& name, const QString& text, const QString& under = {}) {
        // Bodies written as the editor writes them: Windows-1251 escapes in an RTF group.
        QString body =
            QStringLiteral("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 ");
        for (const QChar c : text)
            body += c.unicode() < 128 ? QString(c) : QStringLiteral("\\u%1?").arg(c.unicode());
        body += QStringLiteral("\\par}");
        QFile f(path(QStringLiteral("body.rtf")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(body.toLatin1());
        f.close();
        QStringList args{"add", book(), "--name", name, "--body", f.fileName()};
        if (!under.isEmpty())
            args << "--under" << under;
        ASSERT_EQ(vlr(args).code, 0);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString book() const { return path(QStringLiteral("book.vlr")); }
    static QByteArray bytes(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The notes of a notebook with their plain text, as `vlr ls` and `vlr rtf` show them.
    QStringList notesOf(const QString& notebook) {
        QStringList notes;
        const QList<QByteArray> lines = vlr({"ls", notebook}).out.split('\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].trimmed().isEmpty())
                continue;
            QFile body(path(QStringLiteral("cat.rtf")));
            body.open(QIODevice::WriteOnly | QIODevice::Truncate);
            body.write(vlr({"cat", notebook, QString::number(i)}).out);
            body.close();
            notes << QString::fromUtf8(lines[i]).section(u' ', 1).trimmed() + u'=' +
                         QString::fromUtf8(vlr({"rtf", body.fileName()}).out).trimmed();
        }
        return notes;
    }

    const QStringList texts{QStringLiteral("Съешь же ещё этих мягких французских булок"),
                            QStringLiteral("Да выпей чаю"), QStringLiteral("Третья запись"),
                            QStringLiteral("Последняя")};
    QTemporaryDir dir;
};

} // namespace

TEST_F(VlrExchange, OneDocumentReadsBackWithTheSameText) {
    ASSERT_EQ(vlr({"export", book(), "--to", "rtf", "--out", path("all.rtf")}).code, 0);
    ASSERT_EQ(vlr({"export", book(), "--to", "html", "--out", path("all.htm")}).code, 0);
    const QString rtfText = QString::fromUtf8(vlr({"rtf", path("all.rtf")}).out);
    for (const QString& t : texts)
        EXPECT_TRUE(rtfText.contains(t)) << t.toStdString() << "\n" << rtfText.toStdString();
    EXPECT_TRUE(rtfText.contains(QStringLiteral("a/b <&>")));
    const QByteArray html = bytes(path("all.htm"));
    EXPECT_TRUE(html.contains("a/b &lt;&amp;&gt;")) << "titles are escaped";
    EXPECT_FALSE(html.contains("<&>"));

    const QString pandoc = QStandardPaths::findExecutable(QStringLiteral("pandoc"));
    if (pandoc.isEmpty())
        GTEST_SKIP() << "pandoc is not installed";
    for (const char* file : {"all.rtf", "all.htm"}) {
        const Outcome r = run(pandoc, {QStringLiteral("-t"), QStringLiteral("plain"),
                                       QStringLiteral("--wrap=none"), path(file)});
        ASSERT_EQ(r.code, 0) << r.err.constData();
        const QString text = QString::fromUtf8(r.out);
        for (const QString& t : texts)
            EXPECT_TRUE(text.contains(t)) << file << ": " << t.toStdString() << "\n" << text.toStdString();
    }
}

TEST_F(VlrExchange, TextFilesAreWhatLinuxProgramsReadAndOemStaysDos) {
    struct Case {
        QStringList args;
        QString written;
        const char* encoding; // as the codec knows it
        bool crlf;
    } cases[] = {
        {{"--to", "txt", "--out", path("one.txt")}, path("one.txt"), "UTF-8", false},
        {{"--to", "txt", "--dir", path("txt")}, path("txt/Первая.txt"), "UTF-8", false},
        {{"--to", "oem", "--out", path("one-oem.txt")}, path("one-oem.txt"), "IBM866", true},
        {{"--to", "oem", "--dir", path("oem")}, path("oem/Первая.txt"), "IBM866", true},
    };
    const QString file = QStandardPaths::findExecutable(QStringLiteral("file"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written.toStdString());
        const Outcome r = vlr(QStringList{"export", book()} + c.args);
        ASSERT_EQ(r.code, 0) << r.err.constData();
        const QByteArray b = bytes(c.written);
        EXPECT_FALSE(b.startsWith("\xEF\xBB\xBF"));
        EXPECT_EQ(b.count('\r'), c.crlf ? b.count('\n') : 0);
        EXPECT_EQ(b.count("\r\n"), c.crlf ? b.count('\n') : 0);
        QStringDecoder decode(c.encoding);
        const QString text = decode(b);
        EXPECT_FALSE(decode.hasError());
        EXPECT_TRUE(text.contains(texts.first())) << text.toStdString();
        // What other programs make of it.
        if (!file.isEmpty() && !c.crlf) {
            EXPECT_EQ(
                run(file, {QStringLiteral("-b"), QStringLiteral("--mime-encoding"), c.written}).out.trimmed(),
                "utf-8");
        }
    }
    if (file.isEmpty())
        GTEST_SKIP() << "file is not installed";
}

TEST_F(VlrExchange, HtmlPageIsTitledAfterTheNotebook) {
    ASSERT_EQ(vlr({"export", book(), "--to", "html", "--out", path("book.htm")}).code, 0);
    EXPECT_TRUE(bytes(path("book.htm")).contains(QStringLiteral("<TITLE>Книга</TITLE>").toUtf8()));
}

TEST_F(VlrExchange, NotebookFileAndPerNoteFilesGiveTheNotesBack) {
    const QStringList original = notesOf(book());
    ASSERT_EQ(original.size(), 4);
    ASSERT_EQ(vlr({"export", book(), "--to", "vlr", "--out", path("copy.vlr"), "--compress"}).code, 0);
    EXPECT_EQ(notesOf(path("copy.vlr")), original);
    EXPECT_EQ(vlr({"check", path("copy.vlr")}).code, 0);

    const Outcome files = vlr({"export", book(), "--to", "rtf", "--dir", path("files")});
    ASSERT_EQ(files.code, 0) << files.err.constData();
    EXPECT_EQ(files.out.count('\n'), 4);
    ASSERT_EQ(vlr({"new", path("back.vlr")}).code, 0);
    const Outcome imported = vlr({"import", path("back.vlr"), path("files"), "--tree"});
    ASSERT_EQ(imported.code, 0) << imported.err.constData();
    // Folders become notes of their own and files keep their extension, so compare the texts in order.
    QStringList back;
    for (const QString& n : notesOf(path("back.vlr")))
        if (!n.section(u'=', 1).isEmpty())
            back << n.section(u'=', 1);
    QStringList expected;
    for (const QString& n : original)
        expected << n.section(u'=', 1);
    EXPECT_EQ(back, expected);
}

TEST_F(VlrExchange, RefusalsLeaveFilesAlone) {
    const QByteArray before = bytes(book());
    struct Case {
        QStringList args;
        int code;
    } cases[] = {
        {{"export", book(), "--to", "rtf", "--out", book()}, 1}, // the notebook itself
        {{"export", book(), "--to", "vlr", "--out", book()}, 1},
        {{"export", book(), "--to", "pdf", "--out", path("x.pdf")}, 2},
        {{"export", book(), "--to", "rtf"}, 2},
        {{"export", book(), "--to", "vlr", "--dir", path("d")}, 2},
        {{"export", book(), "--to", "rtf", "--out", path("x.rtf"), "--marked", "Нет такой"}, 2},
        {{"import", book(), path("missing.txt")}, 2},
        {{"import", book()}, 2},
        {{"import", book(), path("body.rtf"), "--one", "--tree"}, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vlr(c.args).code, c.code) << c.args.join(u' ').toStdString();
    EXPECT_EQ(bytes(book()), before);

    QFile noext(path("noext"));
    ASSERT_TRUE(noext.open(QIODevice::WriteOnly));
    noext.close();
    EXPECT_EQ(vlr({"import", book(), noext.fileName()}).code, 2);
    EXPECT_EQ(bytes(book()), before);

    // Only the marked notes are exported.
    ASSERT_EQ(
        vlr({"export", book(), "--to", "txt", "--bare", "--marked", "Первая/Вторая", "--out", path("m.txt")})
            .code,
        0);
    const QString marked = QString::fromUtf8(vlr({"rtf", path("m.txt")}).out);
    EXPECT_TRUE(marked.contains(texts[1]));
    EXPECT_FALSE(marked.contains(texts[0]));
}
