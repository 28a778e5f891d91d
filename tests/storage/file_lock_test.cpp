// A notebook open for writing keeps every other opener out of writing; once
// its holder is back to reading, others may read but not write.
#include "notebook_fixture.h"

using namespace vlr;
using namespace vlr::test;

TEST_F(StorageTest, WritersAndReadersExcludeEachOther) {
    {
        auto b = Book::create(path());
        b->add(QStringLiteral("a"), QByteArray("a"));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    int result = -1;
    auto first = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_FALSE(first->nb->OpenedReadOnly);
    EXPECT_TRUE(first->nb->File().writable());

    auto refused = Book::open(path(), &result);
    EXPECT_EQ(result, lrCannotOpen) << "held for writing elsewhere";

    // After a save the holder keeps the file for reading only.
    first->nb->TreeDirty = true;
    ASSERT_EQ(first->nb->SaveNotes(), srOk);
    auto second = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_TRUE(second->nb->OpenedReadOnly);
    second->nb->TreeDirty = true;
    EXPECT_EQ(second->nb->SaveNotes(), srNotWritable);
    first->nb->TreeDirty = true;
    EXPECT_EQ(first->nb->SaveNotes(), srNotWritable) << "a reader elsewhere keeps writers out";
    second.reset();
    EXPECT_EQ(first->nb->SaveNotes(), srOk);

    // Inspection reads even while a writer holds the file.
    auto holder = Book::open(path(), &result);
    first.reset();
    auto writer = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    auto inspector = Book::open(path(), &result, {}, true);
    EXPECT_EQ(result, lrOk);
    EXPECT_EQ(inspector->nb->Notes.size(), 1);
}
