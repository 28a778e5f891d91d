// Where a stored body goes: in place, grown in place as the last body, or
// appended behind the others; and what a save writes.
#include "notebook_fixture.h"

using namespace vlr;
using namespace vlr::test;

namespace {

struct Placed {
    int offset, size, reserved;
};

Placed placed(const TNodeData* n) {
    return {n->Record.Offset(), n->Record.Size(), n->Record.SizeReserved()};
}

void change(TNodeData* note, const QByteArray& body) {
    note->Body = body;
    note->Loaded = true;
    note->Clean = false;
}

} // namespace

TEST_F(StorageTest, PlacementCases) {
    auto b = Book::create(path(), 0, {}, 10);
    TNodeData* a = b->add(QStringLiteral("a"), QByteArray(20, 'a'));
    TNodeData* c = b->add(QStringLiteral("c"), QByteArray(20, 'c'));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    // A new note stored for the first time is appended at the tree offset.
    EXPECT_EQ(placed(a).offset, 1024);
    EXPECT_EQ(placed(a).reserved, 30);
    EXPECT_EQ(placed(c).offset, 1054);
    EXPECT_EQ(b->nb->Header.TreeOffset(), 1084);

    // Fits its reserve: stays.
    change(a, QByteArray(28, 'A'));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    EXPECT_EQ(placed(a).offset, 1024);
    EXPECT_EQ(placed(a).reserved, 30);

    // The last body outgrows its reserve: it grows where it is.
    change(c, QByteArray(50, 'C'));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    EXPECT_EQ(placed(c).offset, 1054);
    EXPECT_EQ(placed(c).reserved, 60);
    EXPECT_EQ(b->nb->Header.TreeOffset(), 1114);
    EXPECT_EQ(b->nb->WastedSpace(), 0);

    // A body that is not last moves to the old tree offset; its old place is wasted.
    change(a, QByteArray(40, 'B'));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    EXPECT_EQ(placed(a).offset, 1114);
    EXPECT_EQ(placed(a).reserved, 50);
    EXPECT_EQ(b->nb->Header.TreeOffset(), 1164);
    EXPECT_EQ(b->nb->WastedSpace(), 30);

    // Storing an unchanged loaded note that is not clean rewrites it in place.
    change(c, c->Body);
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    EXPECT_EQ(placed(c).offset, 1054);

    b.reset();
    int result = -1;
    auto r = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_EQ(r->body(0), QByteArray(40, 'B'));
    EXPECT_EQ(r->body(1), QByteArray(50, 'C'));
}

TEST_F(StorageTest, GrowingInPlaceNeverOverwritesADeletedBodyBehindIt) {
    auto b = Book::create(path(), 0, {}, 10);
    TNodeData* keep = b->add(QStringLiteral("keep"), QByteArray(20, 'k'));
    TNodeData* gone = b->add(QStringLiteral("gone"), QByteArray(20, 'g'));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    b->remove(gone);
    ASSERT_EQ(b->nb->DeletedNotes.size(), 1);
    // "keep" is now the last live body, but the deleted one lies behind it.
    change(keep, QByteArray(100, 'K'));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    EXPECT_GT(placed(keep).offset, placed(gone).offset) << "the grown body must move, not overwrite";
    b.reset();
    int result = -1;
    auto r = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    ASSERT_EQ(r->nb->DeletedNotes.size(), 1);
    QByteArray body;
    ASSERT_TRUE(r->nb->DecodeNote(*r->nb->DeletedNotes[0], body, nullptr, nullptr));
    EXPECT_EQ(body, QByteArray(20, 'g'));
}

TEST_F(StorageTest, SavingOnlyTheSelectionWritesOnlyTheBytesThatChanged) {
    {
        auto b = Book::create(path());
        for (int i = 0; i < 5; ++i)
            b->add(QStringLiteral("n%1").arg(i), QByteArray(300, char('a' + i)));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    int result = -1;
    auto b = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    QByteArray expected = fileBytes(path());
    setI32At(expected, 52, 3);
    const qint64 writtenBefore = b->nb->File().bytesWritten();
    b->nb->Header.setSelectedNote(3);
    b->nb->TreeDirty = true;
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    EXPECT_EQ(fileBytes(path()), expected) << "the header, tree table and strip are rewritten as they were";
    const qint64 written = b->nb->File().bytesWritten() - writtenBefore;
    EXPECT_GT(written, 0);
    EXPECT_LE(written, 64) << "only the block of the header that holds the change";
}

TEST_F(StorageTest, DeletedNotesSurviveSavesAndComeBackAsDeleted) {
    {
        auto b = Book::create(path());
        b->add(QStringLiteral("live"), QByteArray("L"));
        TNodeData* gone = b->add(QStringLiteral("stored then deleted"), QByteArray("D"));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
        b->remove(gone);
        TNodeData* never = b->add(QStringLiteral("never stored"), QByteArray("N"));
        b->remove(never);
        EXPECT_EQ(b->nb->DeletedNotes.size(), 2);
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
        EXPECT_EQ(b->nb->Header.LastRecord(), 1) << "a deleted note never stored is not written";
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    for (int round = 0; round < 2; ++round) {
        int result = -1;
        auto b = Book::open(path(), &result);
        ASSERT_EQ(result, lrOk);
        ASSERT_EQ(b->nb->Notes.size(), 1);
        ASSERT_EQ(b->nb->DeletedNotes.size(), 1);
        EXPECT_EQ(b->nb->DeletedNotes[0]->Record.NoteName(), QStringLiteral("stored then deleted"));
        EXPECT_EQ(b->nb->DeletedNotes[0]->TreeNode, nullptr);
        EXPECT_EQ(b->nb->RootNode->Count(), 1);
        b->nb->TreeDirty = true;
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
}
