// The vlr tool end to end: commands, exit codes, passwords, and reading
// commands that never write.
#include "libs/vlrlib.h"
#include "storage/notebook_file.h"
#include "vlr_fixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace vlr;
using namespace vlr::test;

TEST_F(VlrTool, CreatesAddsListsAndReads) {
    ASSERT_EQ(vlr({"new", file(), "--title", "Тест", "--compress"}).code, 0);
    EXPECT_EQ(vlr({"add", file(), "--name", "Первая", "--plain", "--body", "-"}, "Привет").out, "0\n");
    EXPECT_EQ(vlr({"add", "--name", "Папка", file()}).out, "1\n") << "options before the file name";
    EXPECT_EQ(vlr({"add", file(), "--name", "Дочь", "--under", "Папка", "--body", "-"}, "{\\rtf1 x}").out,
              "2\n");
    EXPECT_EQ(vlr({"add", file(), "--name", "Вторая", "--after", "0"}).out, "1\n");

    const Outcome ls = vlr({"ls", file(), "--json"});
    ASSERT_EQ(ls.code, 0) << ls.err.toStdString();
    const QJsonArray notes = QJsonDocument::fromJson(ls.out).array();
    ASSERT_EQ(notes.size(), 4);
    QStringList names;
    for (const auto& v : notes)
        names << QStringLiteral("%1:%2")
                     .arg(v[QStringLiteral("name")].toString())
                     .arg(v[QStringLiteral("level")].toInt());
    EXPECT_EQ(names.join(QLatin1Char(' ')), QStringLiteral("Первая:1 Вторая:1 Папка:1 Дочь:2"));
    const QJsonObject first = notes[0].toObject();
    EXPECT_TRUE(first[QStringLiteral("plainText")].toBool());
    EXPECT_TRUE(first[QStringLiteral("compressed")].toBool());
    EXPECT_TRUE(first[QStringLiteral("id")].toString().startsWith(QLatin1Char('{')));
    for (const char* key : {"index", "offset", "size", "sizeReserved", "rawSize", "created", "saved",
                            "imageIndex", "favorite", "deleted", "readOnly", "encrypted"})
        EXPECT_TRUE(first.contains(QLatin1String(key))) << key;

    // Plain bodies are stored in Windows-1251 and come out as UTF-8 text;
    // --raw shows the stored bytes.
    EXPECT_EQ(vlr({"cat", file(), "0"}).out, QByteArray("Привет"));
    EXPECT_EQ(vlr({"cat", file(), "0", "--raw"}).out, QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2"));
    EXPECT_EQ(vlr({"cat", file(), "Папка/Дочь"}).out, QByteArray("{\\rtf1 x}"));
    EXPECT_EQ(vlr({"cat", file(), first[QStringLiteral("id")].toString()}).out, QByteArray("Привет"));
    EXPECT_EQ(vlr({"cat", file(), "1"}).out, QByteArray("{\\rtf1\\ansi\\deff0}", 18) + '\0')
        << "the empty document";

    EXPECT_EQ(vlr({"put", file(), "Первая", "--body", "-"}, "Новый текст").code, 0);
    EXPECT_EQ(vlr({"cat", file(), "0", "--raw"}).out,
              QByteArray("\xcd\xee\xe2\xfb\xe9 \xf2\xe5\xea\xf1\xf2"));

    EXPECT_EQ(vlr({"rm", file(), "Папка"}).code, 0);
    const QJsonArray after = QJsonDocument::fromJson(vlr({"ls", file(), "--json", "--deleted"}).out).array();
    ASSERT_EQ(after.size(), 4);
    EXPECT_TRUE(after[3][QStringLiteral("deleted")].toBool());
    EXPECT_EQ(after[3][QStringLiteral("name")].toString(), QStringLiteral("Дочь"));

    const QJsonObject info = QJsonDocument::fromJson(vlr({"info", file(), "--json"}).out).object();
    EXPECT_EQ(info[QStringLiteral("title")].toString(), QStringLiteral("Тест"));
    EXPECT_EQ(info[QStringLiteral("notes")].toInt(), 2);
    EXPECT_EQ(info[QStringLiteral("deletedNotes")].toInt(), 2);
    EXPECT_TRUE(info[QStringLiteral("compressed")].toBool());
    EXPECT_EQ(info[QStringLiteral("fileSize")].toInteger(), bytes(file()).size());

    EXPECT_EQ(vlr({"check", file()}).code, 0);
    const Outcome pack = vlr({"pack", file(), "--purge", "--backup"});
    ASSERT_EQ(pack.code, 0) << pack.err.toStdString();
    EXPECT_GT(pack.out.trimmed().toLongLong(), 0);
    EXPECT_TRUE(QFile::exists(file() + QStringLiteral(".bak")));
    EXPECT_EQ(vlr({"check", file()}).code, 0);
}

TEST_F(VlrTool, UnusableInputExitsWithTwoAndOneLine) {
    ASSERT_EQ(vlr({"new", file()}).code, 0);
    QFile junk(file(QStringLiteral("junk.vlr")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a notebook at all");
    junk.close();
    const QList<QStringList> cases = {
        {},
        {"frobnicate"},
        {"ls"},
        {"ls", file(QStringLiteral("missing.vlr"))},
        {"ls", file(), "--bogus"},
        {"cat", file(), "99"},
        {"cat", file(), "{00000000-0000-0000-0000-000000000001}"},
        {"cat", file(), "No/Such"},
        {"ls", file(QStringLiteral("junk.vlr"))},
        {"new", file()},
        {"add", file()},
        {"new", file(QStringLiteral("x.vlr")), "--reserve", "many"},
    };
    for (const QStringList& args : cases) {
        const Outcome r = vlr(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(' ').toStdString();
    }
}

TEST_F(VlrTool, PasswordsAreRequiredCheckedAndNeverCauseWrites) {
    ASSERT_EQ(vlr({"new", file(), "--encrypt"}, {}, "верный").code, 0);
    ASSERT_EQ(vlr({"add", file(), "--name", "тайна", "--plain", "--body", "-"}, "секрет", "верный").code, 0);
    const QByteArray stored = bytes(file());
    EXPECT_FALSE(stored.contains(QByteArray("\xf1\xe5\xea\xf0\xe5\xf2")));

    EXPECT_EQ(vlr({"ls", file()}).code, 0) << "names are readable without the key";
    const Outcome wrong = vlr({"cat", file(), "0"}, {}, "неверный");
    EXPECT_EQ(wrong.code, 3);
    EXPECT_TRUE(wrong.err.contains("wrong password"));
    EXPECT_EQ(vlr({"put", file(), "0", "--body", "-"}, "x", "неверный").code, 3);
    EXPECT_EQ(vlr({"cat", file(), "0"}).code, 3) << "no password given";
    EXPECT_EQ(bytes(file()), stored);

    QFile pw(file(QStringLiteral("pw.txt")));
    ASSERT_TRUE(pw.open(QIODevice::WriteOnly));
    pw.write("верный\n");
    pw.close();
    const Outcome right = vlr({"cat", file(), "0", "--password-file", pw.fileName()});
    ASSERT_EQ(right.code, 0) << right.err.toStdString();
    EXPECT_EQ(right.out, QByteArray("секрет")) << "without the cipher's padding";
    EXPECT_EQ(vlr({"check", file()}, {}, "верный").code, 0);
}

TEST_F(VlrTool, ReadingCommandsNeverWriteAndCheckFindsDamage) {
    ASSERT_EQ(vlr({"new", file()}).code, 0);
    ASSERT_EQ(vlr({"add", file(), "--name", "a", "--body", "-"}, "{\\rtf1 body}").code, 0);
    QByteArray b = bytes(file());
    const int tree = *reinterpret_cast<const int32_t*>(b.constData() + 16);
    // No identifier: the engine would mark the notebook for rewriting.
    b.replace(tree + 464, 16, QByteArray(16, '\0'));
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
    for (const QStringList& args : QList<QStringList>{
             {"info", file()}, {"ls", file(), "--json"}, {"cat", file(), "0"}, {"check", file(), "--json"}})
        EXPECT_EQ(vlr(args).code, 0) << args.join(' ').toStdString();
    EXPECT_EQ(bytes(file()), b);

    // A body pointing past the tree offset: check lists it and fails.
    *reinterpret_cast<int32_t*>(b.data() + tree + 32) = tree + 100;
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
    const Outcome check = vlr({"check", file(), "--json"});
    EXPECT_EQ(check.code, 1);
    const QJsonObject report = QJsonDocument::fromJson(check.out).object();
    EXPECT_FALSE(report[QStringLiteral("ok")].toBool());
    EXPECT_FALSE(report[QStringLiteral("problems")].toArray().isEmpty());
    EXPECT_EQ(vlr({"put", file(), "0", "--body", "-"}, "x").code, 1) << "a damaged notebook is not changed";
    EXPECT_EQ(bytes(file()), b);
}

TEST_F(VlrTool, ANotebookHeldForWritingIsNotWrittenByVlr) {
    ASSERT_EQ(vlr({"new", file()}).code, 0);
    NotebookFile holder;
    ASSERT_TRUE(holder.open(file(), NotebookFile::Mode::ReadWrite));
    const Outcome r = vlr({"add", file(), "--name", "x", "--wait", "0.2"});
    EXPECT_NE(r.code, 0);
    EXPECT_EQ(vlr({"ls", file()}).code, 0) << "inspection still works";
}
