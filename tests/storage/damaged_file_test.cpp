// Hostile and damaged files: a clear result, the damage listed, no crash,
// no giant allocation and never a write to the file.
#include "notebook_fixture.h"

#include <QFileInfo>

using namespace vlr;
using namespace vlr::test;

namespace {

// A small healthy notebook: three notes, one deleted with its body kept.
QByteArray healthyNotebook(const QString& file) {
    {
        auto b = Book::create(file, 0, {}, 10);
        b->add(QStringLiteral("a"), QByteArray(40, 'a'));
        b->add(QStringLiteral("b"), QByteArray(40, 'b'));
        TNodeData* c = b->add(QStringLiteral("c"), QByteArray(40, 'c'));
        EXPECT_EQ(b->nb->SaveNotes(), srOk);
        b->remove(c);
        EXPECT_EQ(b->nb->SaveNotes(), srOk);
    }
    return fileBytes(file);
}

struct DamageCase {
    const char* name;
    std::function<void(QByteArray&)> damage;
    int expected;
};

int tree(const QByteArray& b) {
    return i32At(b, 16);
}

} // namespace

TEST_F(StorageTest, DamagedFilesOpenWithAClearResultAndAreNeverWritten) {
    const DamageCase cases[] = {
        {"wrong magic", [](QByteArray& b) { b[0] = 'X'; }, lrNotNotebook},
        {"version 6", [](QByteArray& b) { setI32At(b, 4, 6); }, lrNotNotebook},
        {"huge version", [](QByteArray& b) { setI32At(b, 4, -1); }, lrNotNotebook},
        {"truncated header", [](QByteArray& b) { b.truncate(700); }, lrNotNotebook},
        {"empty file", [](QByteArray& b) { b.clear(); }, lrNotNotebook},
        {"truncated tree table", [](QByteArray& b) { b.truncate(tree(b) + 520 + 100); }, lrDamaged},
        {"LastRecord huge", [](QByteArray& b) { setI32At(b, 20, 0x7FFFFFF0); }, lrDamaged},
        {"LastRecord negative", [](QByteArray& b) { setI32At(b, 20, -50); }, lrDamaged},
        {"TreeOffset below the header", [](QByteArray& b) { setI32At(b, 16, 12); }, lrDamaged},
        {"TreeOffset beyond the file", [](QByteArray& b) { setI32At(b, 16, 0x7FFFFF00); }, lrDamaged},
        {"TreeOffset negative", [](QByteArray& b) { setI32At(b, 16, -4096); }, lrDamaged},
        {"body offset outside the file", [](QByteArray& b) { setI32At(b, tree(b) + 32, 0x7FFFFF00); },
         lrDamaged},
        {"body offset inside the header", [](QByteArray& b) { setI32At(b, tree(b) + 32, 16); }, lrDamaged},
        {"body size huge", [](QByteArray& b) { setI32At(b, tree(b) + 36, 0x7FFFFFFF); }, lrDamaged},
        {"body size negative", [](QByteArray& b) { setI32At(b, tree(b) + 36, -5); }, lrDamaged},
        {"overlapping bodies", [](QByteArray& b) { setI32At(b, tree(b) + 520 + 32, 1024 + 20); }, lrDamaged},
        {"deleted body overlapping a live one",
         [](QByteArray& b) { setI32At(b, tree(b) + 2 * 520 + 32, 1024); }, lrDamaged},
        {"truncated picture strip", [](QByteArray& b) { b.truncate(tree(b) + 3 * 520 + 30); },
         lrPicturesUnreadable},
        {"garbage picture strip", [](QByteArray& b) { b.replace(tree(b) + 3 * 520, 2, "XX"); },
         lrPicturesUnreadable},
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = healthyNotebook(path());
        c.damage(bytes);
        writeFile(path(), bytes);
        const QDateTime modified = QFileInfo(path()).lastModified();
        {
            int result = -1;
            auto b = Book::open(path(), &result);
            EXPECT_EQ(result, c.expected);
            if (result == lrDamaged) {
                EXPECT_FALSE(b->nb->Damage.isEmpty());
                EXPECT_TRUE(b->nb->OpenedReadOnly);
                // Reading every note of a damaged notebook fails cleanly or succeeds.
                for (int i = 0; i < b->nb->Notes.size(); ++i) {
                    QByteArray out;
                    b->nb->ReadNote(i, out);
                }
                b->nb->TreeDirty = true;
                EXPECT_EQ(b->nb->SaveNotes(), srNotWritable);
                EXPECT_EQ(b->nb->PackNotes(true), -1);
            }
            if (result == lrPicturesUnreadable) {
                EXPECT_EQ(b->nb->Images, defaultImages());
            }
        }
        EXPECT_EQ(fileBytes(path()), bytes) << "the file must not change";
        EXPECT_EQ(QFileInfo(path()).lastModified(), modified);
        QFile::remove(path());
    }
}

TEST_F(StorageTest, ZeroSizeNoteIsReported) {
    ScriptedMessages messages;
    QByteArray bytes = healthyNotebook(path());
    setI32At(bytes, tree(bytes) + 36, 0);
    writeFile(path(), bytes);
    int result = -1;
    auto b = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    QByteArray out;
    EXPECT_EQ(b->nb->ReadNote(0, out), -1);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].startsWith(
        QStringLiteral("Внутренняя ошибка! Обнаружена запись нулевого размера!")));
}

TEST_F(StorageTest, CompressedBodyThatDoesNotExpandIsShownAsStored) {
    {
        auto b = Book::create(path(), bfCompressed);
        b->add(QStringLiteral("a"), QByteArray(500, 'q'));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    QByteArray bytes = fileBytes(path());
    const int offset = i32At(bytes, tree(bytes) + 32);
    bytes[offset + 12] = char(bytes[offset + 12] ^ 0xFF);
    writeFile(path(), bytes);
    int result = -1;
    auto b = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    QByteArray out;
    EXPECT_GT(b->nb->ReadNote(0, out), 0);
    EXPECT_EQ(out, bytes.mid(offset, i32At(bytes, tree(bytes) + 36)));
}
