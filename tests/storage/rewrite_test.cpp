// Whole-notebook rewrites: every body under the new encoding, nothing of the
// old one left in the file.
#include "notebook_fixture.h"
#include "storage/notebook_rewrite.h"

namespace vlr::test {
namespace {

class RewriteTest : public StorageTest {};

// The bytes of every note as stored in the file.
QList<QByteArray> storedBodies(TNodeRoot& nb) {
    QList<QByteArray> out;
    for (const TNodeData* note : std::as_const(nb.Notes)) {
        QByteArray bytes;
        nb.ReadStored(*note, bytes);
        out.append(bytes);
    }
    return out;
}

TEST_F(RewriteTest, EveryStepKeepsEveryBodyAndReopensUnderItsNewState) {
    const QList<QByteArray> bodies = {QByteArray("{\\rtf1 first}"), QByteArray(3000, 'x'), QByteArray("z")};
    {
        auto b = Book::create(path());
        for (int i = 0; i < bodies.size(); ++i)
            b->add(QStringLiteral("n%1").arg(i), bodies[i]);
        TNodeData* gone = b->add(QStringLiteral("gone"), QByteArray("deleted body"));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
        b->remove(gone);
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    struct Step {
        const char* name;
        std::function<RewriteOutcome(TNodeRoot&)> run;
        QString passwordAfter;
        bool encrypted, compressed;
    } steps[] = {
        {"encrypt", [](TNodeRoot& nb) { return ToggleEncryption(nb, QStringLiteral("first")); }, "first",
         true, false},
        {"compress", [](TNodeRoot& nb) { return ToggleCompression(nb); }, "first", true, true},
        {"change password",
         [](TNodeRoot& nb) { return ChangeNotebookPassword(nb, QStringLiteral("second")); }, "second", true,
         true},
        {"uncompress", [](TNodeRoot& nb) { return ToggleCompression(nb); }, "second", true, false},
        {"decrypt", [](TNodeRoot& nb) { return ToggleEncryption(nb, {}); }, {}, false, false},
    };
    QString password;
    QList<QByteArray> before;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        int result = -1;
        auto b = Book::open(path(), &result, password);
        ASSERT_EQ(result, lrOk);
        before = storedBodies(*b->nb);
        const RewriteOutcome out = s.run(*b->nb);
        ASSERT_TRUE(out.ok) << describe(out.error).toStdString();
        EXPECT_TRUE(b->nb->DeletedNotes.isEmpty()) << "old encodings are purged";
        b.reset();

        password = s.passwordAfter;
        auto again = Book::open(path(), &result, password);
        ASSERT_EQ(result, lrOk);
        EXPECT_EQ(again->nb->HasBookFlag(bfEncrypted), s.encrypted);
        EXPECT_EQ(again->nb->HasBookFlag(bfCompressed), s.compressed);
        ASSERT_EQ(again->nb->Notes.size(), bodies.size());
        for (int i = 0; i < bodies.size(); ++i)
            EXPECT_EQ(again->body(i), bodies[i]) << i;
        const QByteArray file = fileBytes(path());
        for (const QByteArray& old : std::as_const(before)) {
            if (old.size() >= 16) {
                EXPECT_FALSE(file.contains(old)) << "an old stored body stays in the file";
            }
        }
    }
    EXPECT_FALSE(fileBytes(path()).contains("deleted body"));
}

TEST_F(RewriteTest, ReserveOfANotebookWithoutAFileOnlyChangesTheReserveAndLoadsEveryNote) {
    auto b = Book::create({});
    b->add(QStringLiteral("a"), "one");
    b->add(QStringLiteral("b"), "two");
    NotebookHeader header = b->nb->Header;
    ASSERT_TRUE(ChangeReserveSize(*b->nb, 700).ok);
    EXPECT_EQ(b->nb->Header.ReserveSize(), 700);
    header.setReserveSize(700);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(b->nb->Header.data()), NotebookHeader::Bytes),
              QByteArray(reinterpret_cast<const char*>(header.data()), NotebookHeader::Bytes));
    for (const TNodeData* note : std::as_const(b->nb->Notes))
        EXPECT_TRUE(note->Loaded);
}

TEST_F(RewriteTest, ALockedNotebookIsRefusedAndStaysAsItWas) {
    {
        auto b = Book::create(path(), bfEncrypted, QStringLiteral("pw"));
        b->add(QStringLiteral("a"), "secret");
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    const QByteArray file = fileBytes(path());
    int result = -1;
    auto b = Book::open(path(), &result, QStringLiteral("pw"));
    ASSERT_NE(b->nb, nullptr);
    b->nb->LockNotebook();
    ASSERT_TRUE(b->nb->IsLocked());
    const struct {
        const char* name;
        std::function<RewriteOutcome(TNodeRoot&)> run;
    } cases[] = {
        {"decrypt", [](TNodeRoot& nb) { return ToggleEncryption(nb, {}); }},
        {"password", [](TNodeRoot& nb) { return ChangeNotebookPassword(nb, QStringLiteral("x")); }},
        {"compress", [](TNodeRoot& nb) { return ToggleCompression(nb); }},
        {"reserve", [](TNodeRoot& nb) { return ChangeReserveSize(nb, 10); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.run(*b->nb).ok);
        EXPECT_TRUE(b->nb->HasBookFlag(bfEncrypted));
        EXPECT_EQ(fileBytes(path()), file);
    }
}

TEST_F(RewriteTest, TheAwayTimerLocksThroughTheServiceSignals) {
    auto b = Book::create(path(), bfEncrypted, QStringLiteral("pw"));
    QStringList heard;
    QObject::connect(&b->service, &TNotebookService::notebookAboutToLock,
                     [&](TNodeRoot* nb) { heard << QStringLiteral("about:%1").arg(nb->KeyHeld); });
    QObject::connect(&b->service, &TNotebookService::notebookLocked,
                     [&](TNodeRoot* nb) { heard << QStringLiteral("locked:%1").arg(nb->KeyHeld); });
    b->nb->LockNotebook();
    EXPECT_EQ(heard, (QStringList{"about:1", "locked:0"}));
    EXPECT_TRUE(b->nb->IsLocked());
}

} // namespace
} // namespace vlr::test
