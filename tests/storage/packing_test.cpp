// Compacting the body area: nothing to gain, trimmed reserves, purging.
#include "notebook_fixture.h"

#include <QRandomGenerator>

using namespace vlr;
using namespace vlr::test;

TEST_F(StorageTest, PackingAFileWithoutGapsFreesNothing) {
    auto b = Book::create(path(), 0, {}, 50);
    b->add(QStringLiteral("a"), QByteArray(100, 'a'));
    b->add(QStringLiteral("b"), QByteArray(100, 'b'));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    const QByteArray before = fileBytes(path());
    EXPECT_EQ(b->nb->PackNotes(false), 0);
    EXPECT_EQ(fileBytes(path()).size(), before.size());
}

TEST_F(StorageTest, PackingClosesGapsTrimsLargeReservesAndKeepsDeletedNotes) {
    auto b = Book::create(path(), bfCompressed, {}, 50);
    TNodeData* a = b->add(QStringLiteral("a"), QByteArray(100, 'a'));
    TNodeData* c = b->add(QStringLiteral("c"), QByteArray("c body"));
    TNodeData* d = b->add(QStringLiteral("d"), QByteArray("d body"));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    // a moves behind the others (a gap is left) and d is deleted.
    QRandomGenerator random(42);
    a->Body = QByteArray(4000, 'x');
    for (char& ch : a->Body)
        ch = char('a' + random.bounded(26)); // does not compress into its old reserve
    a->Clean = false;
    b->remove(d);
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    ASSERT_GT(b->nb->WastedSpace(), 0);
    // A huge reserve on c is trimmed to Size + ReserveSize.
    c->Record.setSizeReserved(c->Record.Size() + 500);
    const qint64 sizeBefore = fileBytes(path()).size();
    const qint64 freed = b->nb->PackNotes(false);
    EXPECT_EQ(freed, sizeBefore - fileBytes(path()).size());
    EXPECT_GT(freed, 0);
    EXPECT_EQ(b->nb->DeletedNotes.size(), 1);
    // Live and deleted bodies lie in offset order without gaps.
    QList<TNodeData*> all = b->nb->Notes + b->nb->DeletedNotes;
    std::sort(all.begin(), all.end(),
              [](auto* x, auto* y) { return x->Record.Offset() < y->Record.Offset(); });
    qint64 expect = 1024;
    for (TNodeData* n : all) {
        EXPECT_EQ(n->Record.Offset(), expect) << n->Record.NoteName().toStdString();
        EXPECT_LE(n->Record.SizeReserved() - n->Record.Size(), 50);
        expect += n->Record.SizeReserved();
    }
    EXPECT_EQ(b->nb->Header.TreeOffset(), expect);
    const QByteArray aBody = a->Body;
    b.reset();
    int result = -1;
    auto r = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    r->nb->Notes[0]->Loaded = false;
    EXPECT_EQ(r->body(0), aBody);
    EXPECT_EQ(r->body(1), QByteArray("c body"));
    QByteArray deleted;
    ASSERT_TRUE(r->nb->DecodeNote(*r->nb->DeletedNotes[0], deleted, nullptr, nullptr));
    EXPECT_EQ(deleted, QByteArray("d body"));
}

TEST_F(StorageTest, PurgingDropsDeletedBodiesForGood) {
    auto b = Book::create(path(), 0, {}, 10);
    b->add(QStringLiteral("keep"), QByteArray("keep me"));
    TNodeData* gone = b->add(QStringLiteral("gone"), QByteArray("UNIQUE-DELETED-TEXT"));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    b->remove(gone);
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    EXPECT_GT(b->nb->PackNotes(true), 0);
    EXPECT_TRUE(b->nb->DeletedNotes.isEmpty());
    EXPECT_FALSE(fileBytes(path()).contains("UNIQUE-DELETED-TEXT"));
    b.reset();
    int result = -1;
    auto r = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_TRUE(r->nb->DeletedNotes.isEmpty());
    EXPECT_EQ(r->body(0), QByteArray("keep me"));
}
