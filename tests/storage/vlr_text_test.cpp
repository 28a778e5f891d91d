// vlr text in and out: plain bodies as UTF-8, names safe for a terminal and
// addressable by path, and bad input or files answered with a clear error.
#include "vlr_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <unistd.h>

using namespace vlr::test;

namespace {

QJsonArray listing(const QByteArray& json) {
    return QJsonDocument::fromJson(json).array();
}

} // namespace

TEST_F(VlrTool, PlainTextRoundTripsByteForByteAsUtf8) {
    ASSERT_EQ(vlr({"new", file()}).code, 0);
    struct Case {
        const char* name;
        QByteArray text;
    };
    const Case cases[] = {
        {"Russian", "Привет, мир!\nВторая строка\r\n"},
        {"beyond Windows-1251", "日本語, ✓ and 😀"},
        {"Russian and beyond", "ёжик — 日本"},
        {"with its own byte-order mark", "\xEF\xBB\xBFтекст"},
        {"what Windows-1251 stores as a byte-order mark", "п»їabc"},
        {"what the empty body is stored as", QByteArray(" \0", 2)},
        {"with a zero byte", QByteArray("a\0b", 3)},
        {"empty", ""},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome added = vlr({"add", file(), "--name", c.name, "--plain", "--body", "-"}, c.text);
        ASSERT_EQ(added.code, 0) << added.err.toStdString();
        ASSERT_EQ(added.out, QByteArray::number(index) + '\n');
        EXPECT_EQ(vlr({"cat", file(), QString::number(index)}).out, c.text);
        ASSERT_EQ(vlr({"put", file(), QString::number(index)}, c.text + "!").code, 0);
        EXPECT_EQ(vlr({"cat", file(), QString::number(index)}).out, c.text + "!");
        ++index;
    }
    // Russian text is stored as Windows-1251, as the program stores it.
    EXPECT_EQ(vlr({"cat", file(), "0", "--raw"}).out.left(6), QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2"));
    EXPECT_EQ(vlr({"check", file()}).code, 0);
}

TEST_F(VlrTool, TextThatIsNotUtf8IsRefusedUnlessRaw) {
    ASSERT_EQ(vlr({"new", file()}).code, 0);
    ASSERT_EQ(vlr({"add", file(), "--name", "p", "--plain", "--body", "-"}, "old").code, 0);
    ASSERT_EQ(vlr({"add", file(), "--name", "r", "--body", "-"}, "{\\rtf1 x}").code, 0);
    const QByteArray before = bytes(file());
    const QByteArray cp1251 = "\xcf\xf0\xe8\xe2\xe5\xf2"; // "Привет" in Windows-1251
    const QList<QStringList> refused = {{"add", file(), "--name", "q", "--plain", "--body", "-"},
                                        {"put", file(), "p"}};
    for (const QStringList& args : refused) {
        const Outcome r = vlr(args, cp1251);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("not UTF-8")) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1);
    }
    EXPECT_EQ(bytes(file()), before) << "the file is untouched";

    ASSERT_EQ(vlr({"put", file(), "p", "--raw"}, cp1251).code, 0);
    EXPECT_EQ(vlr({"cat", file(), "p", "--raw"}).out, cp1251) << "stored exactly";
    EXPECT_EQ(vlr({"cat", file(), "p"}).out, QByteArray("Привет"));
    // RTF bodies are bytes both ways.
    ASSERT_EQ(vlr({"put", file(), "r"}, "{\\rtf1 \xcf}").code, 0);
    EXPECT_EQ(vlr({"cat", file(), "r"}).out, QByteArray("{\\rtf1 \xcf}"));
}

TEST_F(VlrTool, NamesAreEscapedInTextAndAddressableByEscapedPaths) {
    ASSERT_EQ(vlr({"new", file()}).code, 0);
    struct Case {
        QString name;
        QString shown; // in ls text output and in a path
    };
    const Case cases[] = {
        {QStringLiteral("two\nlines"), QStringLiteral("two\\nlines")},
        {QStringLiteral("\x1b[31mred"), QStringLiteral("\\x1b[31mred")},
        {QStringLiteral("back\\slash"), QStringLiteral("back\\\\slash")},
        {QStringLiteral("tab\there"), QStringLiteral("tab\\there")},
    };
    for (const Case& c : cases)
        ASSERT_EQ(vlr({"add", file(), "--name", c.name, "--plain", "--body", "-"}, c.name.toUtf8()).code, 0);
    ASSERT_EQ(vlr({"add", file(), "--name", "a/b", "--plain", "--body", "-"}, "slash").code, 0);
    ASSERT_EQ(vlr({"add", file(), "--name", "12", "--plain", "--body", "-"}, "number").code, 0);

    const Outcome ls = vlr({"ls", file()});
    ASSERT_EQ(ls.code, 0);
    EXPECT_EQ(ls.out.count('\n'), 6) << "one line per note";
    EXPECT_FALSE(ls.out.contains('\x1b')) << "no terminal escape gets through";
    const QJsonArray json = listing(vlr({"ls", file(), "--json"}).out);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(cases[i].shown.toStdString());
        EXPECT_TRUE(QString::fromUtf8(ls.out).contains(cases[i].shown));
        EXPECT_EQ(json[i][QStringLiteral("name")].toString(), cases[i].name)
            << "JSON keeps the name as it is";
        EXPECT_EQ(vlr({"cat", file(), cases[i].shown}).out, cases[i].name.toUtf8());
    }
    EXPECT_EQ(vlr({"cat", file(), "a\\/b"}).out, QByteArray("slash"));
    EXPECT_EQ(vlr({"cat", file(), "/12"}).out, QByteArray("number")) << "a leading / makes a number a name";
    EXPECT_EQ(vlr({"cat", file(), "a/b"}).code, 2) << "a note a with a child b";
    const Outcome broken = vlr({"cat", file(), "a\\qb"});
    EXPECT_EQ(broken.code, 2);
    EXPECT_TRUE(broken.err.contains("escape"));
    EXPECT_TRUE(vlr({"--help"}).out.contains("\\/ is a \"/\" inside a name"));
}

TEST_F(VlrTool, BadBodiesAndFilesGiveAClearErrorAndChangeNothing) {
    ASSERT_EQ(vlr({"new", file(), "--compress"}).code, 0);
    ASSERT_EQ(vlr({"add", file(), "--name", "rich", "--body", "-"}, QByteArray(3000, 'r')).code, 0);

    // An empty RTF body is stored as the empty document, as the program stores it.
    ASSERT_EQ(vlr({"add", file(), "--name", "empty", "--body", "-"}, "").code, 0);
    EXPECT_EQ(vlr({"cat", file(), "empty"}).out, QByteArray("{\\rtf1\\ansi\\deff0}", 18) + '\0');
    EXPECT_EQ(vlr({"check", file()}).code, 0);

    // A body that cannot be expanded is not printed as if it were the text.
    const QJsonArray notes = listing(vlr({"ls", file(), "--json"}).out);
    const int offset = notes[0][QStringLiteral("offset")].toInt();
    QByteArray damaged = bytes(file());
    damaged.replace(offset + 10, 20, QByteArray(20, '#'));
    put(file(), damaged);
    const Outcome cat = vlr({"cat", file(), "rich"});
    EXPECT_EQ(cat.code, 1);
    EXPECT_TRUE(cat.out.isEmpty());
    EXPECT_TRUE(cat.err.contains("cannot be expanded")) << cat.err.toStdString();
    EXPECT_EQ(vlr({"check", file()}).code, 1);

    // A loop of symbolic links is called that.
    ASSERT_EQ(::symlink("loop.vlr", QFile::encodeName(file(QStringLiteral("loop.vlr"))).constData()), 0);
    for (const QStringList& args : QList<QStringList>{{"ls", file(QStringLiteral("loop.vlr"))},
                                                      {"recover", file(QStringLiteral("loop.vlr"))}}) {
        const Outcome loop = vlr(args);
        EXPECT_EQ(loop.code, 2);
        EXPECT_TRUE(loop.err.contains("a loop of symbolic links")) << loop.err.toStdString();
    }
    const Outcome body = vlr({"put", file(), "empty", "--body", file(QStringLiteral("loop.vlr"))});
    EXPECT_EQ(body.code, 2);
    EXPECT_TRUE(body.err.contains("a loop of symbolic links")) << body.err.toStdString();

    // A backup that cannot be made says why, and nothing is packed.
    ASSERT_EQ(vlr({"rm", file(), "empty"}).code, 0);
    const QByteArray before = bytes(file());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("n.vlr.bak/inside")));
    const Outcome pack = vlr({"pack", file(), "--purge", "--backup"});
    EXPECT_EQ(pack.code, 1);
    EXPECT_TRUE(pack.err.contains("backup")) << pack.err.toStdString();
    EXPECT_TRUE(pack.err.contains("n.vlr.bak: Is a directory")) << pack.err.toStdString();
    EXPECT_EQ(pack.err.count('\n'), 1);
    EXPECT_EQ(bytes(file()), before);
}

TEST_F(VlrTool, NamesThatWouldLoseCharactersAreRefusedUnlessLossy) {
    ASSERT_EQ(vlr({"new", file(), "--title", "Книга"}).code, 0);
    struct Case {
        QStringList args;  // after the file
        const char* named; // in the one error line
        const char* stored;
    };
    const Case cases[] = {
        {{"add", "--name", "Straße"}, "ß (U+00DF)", "Stra?e"},
        {{"add", "--name", "Ελληνικά"}, "Ε (U+0395), λ (U+03BB)", "????????"},
        {{"add", "--name", "Эмодзи 😀"}, "😀 (U+1F600)", "Эмодзи ?"},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        QStringList args = c.args;
        args.insert(1, file());
        const QByteArray before = bytes(file());
        const Outcome refused = vlr(args);
        EXPECT_EQ(refused.code, 2);
        EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains(c.named)) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains("--lossy")) << refused.err.toStdString();
        EXPECT_EQ(bytes(file()), before) << "the file is untouched";
        const Outcome stored = vlr(args << "--lossy");
        ASSERT_EQ(stored.code, 0) << stored.err.toStdString();
        const QJsonArray json = listing(vlr({"ls", file(), "--json"}).out);
        ASSERT_EQ(json.size(), index + 1);
        EXPECT_EQ(json[index].toObject()[QStringLiteral("name")].toString(), QString::fromUtf8(c.stored));
        ++index;
    }
    // A title takes the same rule, also one taken from the file's name.
    const QString greek = dir.filePath(QStringLiteral("Ελ.vlr"));
    EXPECT_EQ(vlr({"new", greek}).code, 2);
    EXPECT_FALSE(QFileInfo::exists(greek));
    EXPECT_EQ(vlr({"new", greek, "--title", "Книга"}).code, 0);
    EXPECT_EQ(vlr({"new", dir.filePath(QStringLiteral("b.vlr")), "--title", "Straße"}).code, 2);
    EXPECT_EQ(vlr({"new", dir.filePath(QStringLiteral("b.vlr")), "--title", "Straße", "--lossy"}).code, 0);
    EXPECT_TRUE(vlr({"info", dir.filePath(QStringLiteral("b.vlr"))}).out.contains("Stra?e"));
    // Cyrillic with ё, № and guillemets passes without --lossy.
    EXPECT_EQ(vlr({"add", file(), "--name", "Ёлка №1 «да»"}).code, 0);
    EXPECT_TRUE(vlr({"--help"}).out.contains("--lossy"));
}
