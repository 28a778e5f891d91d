// Reading the tree table back: the placement rule for levels, notes from
// before identifiers, expanded nodes.
#include "notebook_fixture.h"

using namespace vlr;
using namespace vlr::test;

namespace {

QString shape(TTreeNode* root) {
    QStringList parts;
    ForEachDescendant(root,
                      [&](TTreeNode* n) { parts << QStringLiteral("%1/%2").arg(n->Text()).arg(n->Level()); });
    return parts.join(QLatin1Char(' '));
}

// A flat notebook whose records then get the given levels.
void writeWithLevels(const QString& file, const QList<int>& levels) {
    {
        auto b = Book::create(file);
        for (int i = 0; i < levels.size(); ++i)
            b->add(QString(QChar('a' + i)), QByteArray("x"));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    QByteArray bytes = fileBytes(file);
    const int tree = i32At(bytes, 16);
    for (int i = 0; i < levels.size(); ++i)
        setI32At(bytes, tree + i * 520 + 28, levels[i]);
    writeFile(file, bytes);
}

} // namespace

TEST_F(StorageTest, LevelsPlaceNodesByTheReadersRule) {
    struct Case {
        QList<int> levels;
        const char* shape;
    } cases[] = {
        {{1, 2, 3, 1}, "a/1 b/2 c/3 d/1"},
        {{1, 3, 2}, "a/1 b/2 c/2"}, // a jump by two becomes a child
        {{1, 2, 3, 2, 1, 2}, "a/1 b/2 c/3 d/2 e/1 f/2"},
        {{2, 2, 1}, "a/1 b/2 c/1"},         // the first note is always top-level
        {{1, 5, 9, 3}, "a/1 b/2 c/3 d/3"},  // walking back stops at the given level
        {{1, 2, 0, -4}, "a/1 b/2 c/1 d/1"}, // levels below one count as top-level
    };
    for (const Case& c : cases) {
        writeWithLevels(path(), c.levels);
        int result = -1;
        auto b = Book::open(path(), &result);
        ASSERT_EQ(result, lrOk);
        EXPECT_EQ(shape(b->nb->RootNode), QString::fromLatin1(c.shape));
        EXPECT_EQ(b->nb->Notes.size(), c.levels.size());
        QFile::remove(path());
    }
}

TEST_F(StorageTest, NotesWithoutIdentifiersGetNewOnesAndTheNotebookIsMarked) {
    {
        auto b = Book::create(path());
        b->add(QStringLiteral("a"), QByteArray("1"));
        b->add(QStringLiteral("b"), QByteArray("2"));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    QByteArray bytes = fileBytes(path());
    const int tree = i32At(bytes, 16);
    bytes.replace(tree + 464, 4, QByteArray(4, '\0')); // first four bytes zero: no identifier
    writeFile(path(), bytes);
    int result = -1;
    auto b = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_TRUE(b->nb->TreeDirty);
    EXPECT_TRUE(b->nb->Modified);
    EXPECT_TRUE(b->nb->Notes[0]->Record.hasId());
    EXPECT_NE(std::memcmp(b->nb->Notes[0]->Record.ID(), b->nb->Notes[1]->Record.ID(), 16), 0);
    // Reading for inspection does the same in memory but never writes.
    const QByteArray before = fileBytes(path());
    b.reset();
    auto r = Book::open(path(), &result, {}, true);
    EXPECT_TRUE(r->nb->TreeDirty);
    EXPECT_NE(r->nb->SaveNotes(), srOk);
    EXPECT_EQ(fileBytes(path()), before);
}

TEST_F(StorageTest, ExpandedNotesAndNamesComeBack) {
    {
        auto b = Book::create(path());
        TNodeData* a = b->add(QStringLiteral("Родитель"), QByteArray("1"));
        b->add(QStringLiteral("Ребёнок"), QByteArray("2"), a->TreeNode);
        a->Record.setExpanded(-1);
        b->nb->Header.setBookName(QStringLiteral("Моя книжка"));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    int result = -1;
    auto b = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_EQ(b->nb->RootNode->Text(), QStringLiteral("Моя книжка"));
    EXPECT_TRUE(b->nb->Notes[0]->TreeNode->Expanded());
    EXPECT_FALSE(b->nb->Notes[1]->TreeNode->Expanded());
    EXPECT_EQ(shape(b->nb->RootNode), QStringLiteral("Родитель/1 Ребёнок/2"));
}

TEST_F(StorageTest, EmptyNotebookLayout) {
    {
        auto b = Book::create(path());
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    const QByteArray bytes = fileBytes(path());
    EXPECT_EQ(bytes.left(4), QByteArray("VLRD"));
    EXPECT_EQ(i32At(bytes, 16), 1024);
    EXPECT_EQ(i32At(bytes, 20), -1);
    EXPECT_EQ(bytes.mid(1024, 2), QByteArray("BM")) << "the picture strip follows the header";
    int result = -1;
    auto b = Book::open(path(), &result);
    EXPECT_EQ(result, lrOk);
    EXPECT_EQ(b->nb->Images, defaultImages());
}
