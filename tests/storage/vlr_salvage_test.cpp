// vlr salvage and what the reading commands say about a damaged file.
#include "vlr_fixture.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace vlr;
using namespace vlr::test;

namespace {

class VlrSalvage : public VlrTool {
protected:
    void SetUp() override {
        VlrTool::SetUp();
        useBuiltLibraries();
    }

    // Eight rich notes written by the engine; the file cut inside its tree
    // table keeps the header and the bodies, but no whole record.
    QByteArray cutNotebook(uint32_t flags = 0, const QString& password = {}) {
        {
            auto b = Book::create(file(QStringLiteral("whole.vlr")), flags, password, 32);
            for (int i = 0; i < 8; ++i)
                b->add(QStringLiteral("запись %1").arg(i),
                       "{\\rtf1\\ansi note " + QByteArray::number(i) + QByteArray(200, 'x') + "}");
            EXPECT_EQ(b->service.Save(*b->nb), srOk);
        }
        const QByteArray whole = bytes(file(QStringLiteral("whole.vlr")));
        const QByteArray cut = whole.left(i32At(whole, 16) + 100);
        put(file(), cut);
        return cut;
    }
};

} // namespace

TEST_F(VlrSalvage, NotebookCutInItsTreeTableComesBackAsNamelessNotesInANewFile) {
    const QByteArray damaged = cutNotebook();
    const QString out = file(QStringLiteral("out.vlr"));
    const Outcome r = vlr({"salvage", file(), out, "--json"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o[QStringLiteral("whole")].toInt(), 0);
    const int found = o[QStringLiteral("nameless")].toInt();
    EXPECT_EQ(found, 8);
    EXPECT_EQ(o[QStringLiteral("lost")].toInt(), 0);
    EXPECT_EQ(bytes(file()), damaged) << "the damaged file is only read";
    const Outcome ls = vlr({"ls", out});
    EXPECT_EQ(ls.code, 0);
    EXPECT_TRUE(ls.out.contains("Найдено 1")) << ls.out.toStdString();
    EXPECT_EQ(vlr({"cat", out, "0"}).out, "{\\rtf1\\ansi note 0" + QByteArray(200, 'x') + "}");
    EXPECT_EQ(vlr({"check", out}).code, 0);
}

TEST_F(VlrSalvage, RefusesTheDamagedFileAndAnExistingOneUnlessForced) {
    const QByteArray damaged = cutNotebook();
    put(file(QStringLiteral("taken.vlr")), "keep me");
    ASSERT_TRUE(QFile::link(file(), file(QStringLiteral("link.vlr"))));
    struct Case {
        QStringList args;
        int code;
    };
    const Case cases[] = {
        {{"salvage", file(), file()}, 2},
        {{"salvage", file(), file(QStringLiteral("link.vlr"))}, 2},
        {{"salvage", file(), file(QStringLiteral("link.vlr")), "--force"}, 2},
        {{"salvage", file(), file(QStringLiteral("taken.vlr"))}, 2},
        {{"salvage", file()}, 2},
        {{"salvage", file(QStringLiteral("missing.vlr")), file(QStringLiteral("x.vlr"))}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const Outcome r = vlr(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_EQ(bytes(file()), damaged);
    EXPECT_EQ(bytes(file(QStringLiteral("taken.vlr"))), QByteArray("keep me"));
    EXPECT_EQ(vlr({"salvage", file(), file(QStringLiteral("taken.vlr")), "--force"}).code, 0);
    EXPECT_EQ(vlr({"check", file(QStringLiteral("taken.vlr"))}).code, 0);
    EXPECT_EQ(bytes(file()), damaged);
}

TEST_F(VlrSalvage, EncryptedNotebookNeedsTheRightPasswordForItsBodies) {
    const QString password = QStringLiteral("секрет");
    const QByteArray damaged = cutNotebook(bfEncrypted, password);
    // Without records, ciphertext has no signature:
    // nothing can be read, with or without the password.
    const Outcome none = vlr({"salvage", file(), file(QStringLiteral("a.vlr"))});
    EXPECT_EQ(none.code, 1);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("a.vlr"))));
    EXPECT_EQ(vlr({"salvage", file(), file(QStringLiteral("a.vlr"))}, {}, QStringLiteral("wrong")).code, 3);

    // With the tree table whole but the picture strip cut, the password reads every body.
    const QByteArray whole = bytes(file(QStringLiteral("whole.vlr")));
    put(file(), whole.left(whole.size() - 10));
    const Outcome r = vlr({"salvage", file(), file(QStringLiteral("b.vlr")), "--json"}, {}, password);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out).object()[QStringLiteral("whole")].toInt(), 8);
    const Outcome cat = vlr({"cat", file(QStringLiteral("b.vlr")), "7"}, {}, password);
    EXPECT_EQ(cat.out, "{\\rtf1\\ansi note 7" + QByteArray(200, 'x') + "}");
    EXPECT_EQ(vlr({"cat", file(QStringLiteral("b.vlr")), "7"}, {}, QStringLiteral("wrong")).code, 3)
        << "still encrypted under the same password";
}

TEST_F(VlrSalvage, ReadingCommandsSayTheFileIsDamagedAndPointToSalvage) {
    cutNotebook();
    const Outcome ls = vlr({"ls", file()});
    EXPECT_EQ(ls.code, 1);
    EXPECT_TRUE(ls.err.contains("vlr salvage")) << ls.err.toStdString();
    const Outcome recover = vlr({"recover", file()});
    EXPECT_EQ(recover.code, 1);
    EXPECT_TRUE(recover.out.contains("vlr salvage")) << recover.out.toStdString();
    // A healthy notebook: nothing to recover, nothing said about salvage.
    const Outcome healthy = vlr({"recover", file(QStringLiteral("whole.vlr"))});
    EXPECT_EQ(healthy.code, 0);
    EXPECT_FALSE(healthy.out.contains("salvage"));
}
