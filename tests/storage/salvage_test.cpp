// Salvaging damaged notebooks: files cut short and partly overwritten, in
// the four encodings, give back every note whose record and body survive,
// find bodies whose records are gone, never guess encrypted ones, and never
// change the damaged file.
#include "notebook_fixture.h"
#include "storage/body_signatures.h"
#include "storage/notebook_salvage.h"
#include "storage/salvage_writer.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

#include <map>

using namespace vlr;
using namespace vlr::test;

namespace {

const QString kPassword = QStringLiteral("пароль-7");

// One note as written: its name, level, kind and body.
struct Written {
    QString name;
    int level;
    bool plain;
    QByteArray body;
};

QByteArray richBody(int i) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\pard ";
    // Sizes differ, so bodies lie at many different places in the file.
    for (int line = 0; line <= (i * 7) % 23; ++line)
        rtf += "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 note " + QByteArray::number(i) + " line " +
               QByteArray::number(line) + " {\\b bold}\\par ";
    return rtf + "}";
}

// A tree of twelve notes (levels 1..3), one of them plain text.
std::vector<Written> sampleNotes() {
    const int levels[] = {1, 2, 2, 3, 1, 2, 1, 2, 3, 3, 1, 1};
    std::vector<Written> notes;
    for (int i = 0; i < 12; ++i) {
        const bool plain = i == 5;
        notes.push_back({QStringLiteral("запись %1").arg(i), levels[i], plain,
                         plain ? QByteArray("plain \xcf\xf0\xe8\xe2\xe5\xf2 text") : richBody(i)});
    }
    return notes;
}

struct Layout {
    QByteArray bytes;
    qint64 treeOffset = 0;
    std::vector<std::pair<qint64, qint64>> bodies; // [start, end) of each note's stored body, in tree order
};

// Writes the notes through the engine and reads back where everything lies.
Layout writeNotebook(const QString& file, uint32_t flags, const std::vector<Written>& notes) {
    {
        auto b = Book::create(file, flags, kPassword, 64);
        std::vector<TTreeNode*> parents{b->nb->RootNode};
        for (const Written& w : notes) {
            parents.resize(size_t(w.level));
            TNodeData* note = b->add(w.name, w.body, parents.back(), w.plain);
            parents.push_back(note->TreeNode);
        }
        EXPECT_EQ(b->service.Save(*b->nb), srOk);
    }
    Layout layout;
    layout.bytes = fileBytes(file);
    layout.treeOffset = i32At(layout.bytes, 16);
    for (size_t i = 0; i < notes.size(); ++i) {
        const qint64 record = layout.treeOffset + qint64(i) * NoteRecord::Bytes;
        const qint64 offset = i32At(layout.bytes, record + 32);
        layout.bodies.push_back({offset, offset + i32At(layout.bytes, record + 36)});
    }
    return layout;
}

QByteArray sha(const QString& file) {
    return QCryptographicHash::hash(fileBytes(file), QCryptographicHash::Sha256);
}

void overwrite(QByteArray& bytes, qint64 at, qint64 length, quint32 seed) {
    QRandomGenerator random(seed);
    for (qint64 i = 0; i < length && at + i < bytes.size(); ++i)
        bytes[at + i] = char(random.bounded(256));
}

// A found body can be told from the rest only with a signature: a stored RTF
// document, or a compressed stream. Encrypted bodies have none.
bool findable(uint32_t flags, const Written& w) {
    if (flags & bfEncrypted)
        return false;
    return (flags & bfCompressed) || !w.plain;
}

struct Salvaged {
    SalvageResult result;
    bool unlocked = false;
};

Salvaged salvageFile(const QString& file, bool withPassword) {
    DamagedNotebook damaged;
    EXPECT_TRUE(damaged.read(file)) << damaged.errorString().toStdString();
    Salvaged s;
    if (withPassword)
        s.unlocked = damaged.unlock(kPassword);
    s.result = damaged.salvage();
    return s;
}

class SalvageTest : public StorageTest, public ::testing::WithParamInterface<uint32_t> {};

} // namespace

TEST_P(SalvageTest, CutAtManyPlacesGivesBackWhatSurvives) {
    const uint32_t flags = GetParam();
    const std::vector<Written> notes = sampleNotes();
    const Layout layout = writeNotebook(path(QStringLiteral("whole.vlr")), flags, notes);
    const double fractions[] = {0.03, 0.15, 0.3, 0.45, 0.5, 0.62, 0.75, 0.9, 0.97, 0.999};
    for (const double fraction : fractions) {
        const qint64 cut = qMax<qint64>(NotebookHeader::Bytes, qint64(layout.bytes.size() * fraction));
        SCOPED_TRACE(::testing::Message() << "cut at " << cut << " of " << layout.bytes.size());
        writeFile(path(), layout.bytes.left(cut));
        const QByteArray before = sha(path());
        // Expected: records read whole give their notes back; the bodies of the
        // others are found when they lie whole before the cut and have a signature.
        const qint64 recordsRead =
            qBound<qint64>(0, (cut - layout.treeOffset) / NoteRecord::Bytes, qint64(notes.size()));
        int whole = int(recordsRead);
        int nameless = 0;
        std::vector<QByteArray> foundBodies;
        for (size_t i = size_t(recordsRead); i < notes.size(); ++i) {
            if (layout.bodies[i].second <= cut && findable(flags, notes[i])) {
                ++nameless;
                foundBodies.push_back(notes[i].body);
            }
        }
        const Salvaged s = salvageFile(path(), true);
        EXPECT_EQ(s.unlocked, (flags & bfEncrypted) != 0);
        EXPECT_EQ(s.result.counts.whole, whole);
        EXPECT_EQ(s.result.counts.nameless, nameless);
        EXPECT_EQ(s.result.counts.lost, int(notes.size()) - whole - nameless);
        EXPECT_EQ(sha(path()), before) << "the damaged file must not change";
        if (whole + nameless == 0)
            continue;

        // The new notebook holds them: names, levels and bodies, found ones after.
        TNotebookService service{defaultImages()};
        DamagedNotebook damaged;
        ASSERT_TRUE(damaged.read(path()));
        if (flags & bfEncrypted) {
            ASSERT_TRUE(damaged.unlock(kPassword));
        }
        StorageError error;
        const QString out = path(QStringLiteral("out.vlr"));
        QFile::remove(out);
        TNodeRoot* written = WriteSalvagedNotebook(service, damaged, damaged.salvage(), out, &error);
        ASSERT_NE(written, nullptr) << describe(error).toStdString();
        service.Close(written);
        EXPECT_EQ(sha(path()), before);
        int result = -1;
        auto reread = Book::open(out, &result, kPassword);
        ASSERT_EQ(result, lrOk);
        ASSERT_EQ(reread->nb->Notes.size(), whole + nameless);
        EXPECT_EQ(reread->nb->HasBookFlag(bfEncrypted), (flags & bfEncrypted) != 0);
        for (int i = 0; i < whole; ++i) {
            const TNodeData* note = reread->nb->Notes[i];
            EXPECT_EQ(note->Record.NoteName(), notes[size_t(i)].name);
            EXPECT_EQ(note->TreeNode->Level(), notes[size_t(i)].level);
            EXPECT_EQ(note->Record.PlainText() == 1, notes[size_t(i)].plain);
            EXPECT_EQ(reread->body(i), notes[size_t(i)].body);
        }
        for (int k = 0; k < nameless; ++k) {
            EXPECT_EQ(reread->nb->Notes[whole + k]->Record.NoteName(), FoundNoteName(k + 1));
            EXPECT_EQ(reread->body(whole + k), foundBodies[size_t(k)]);
        }
    }
}

TEST_P(SalvageTest, OverwrittenRangesLoseOnlyWhatTheyHit) {
    const uint32_t flags = GetParam();
    const std::vector<Written> notes = sampleNotes();
    const Layout layout = writeNotebook(path(QStringLiteral("whole.vlr")), flags, notes);
    const qint64 tree = layout.treeOffset;
    const int n = int(notes.size());
    // Records 2 and 3 overwritten: their bodies are found when they have a signature.
    const int foundOfTwo = int(findable(flags, notes[2])) + int(findable(flags, notes[3]));
    const auto [leafStart, leafEnd] = layout.bodies[11];
    struct Case {
        const char* name;
        qint64 at, length;
        int whole, nameless, lost;
    };
    const Case cases[] = {
        {"the header's first fields (magic to creation time)", 0, 48, n, 0, 0},
        {"the header's tree offset", 16, 4, n, 0, 0},
        {"two tree records", tree + 2 * NoteRecord::Bytes, 2 * NoteRecord::Bytes, n - 2, foundOfTwo,
         2 - foundOfTwo},
        {"the middle of a leaf's body", (leafStart + leafEnd) / 2 - 20, 40, n - 1, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = layout.bytes;
        overwrite(bytes, c.at, c.length, quint32(c.at * 31 + flags));
        writeFile(path(), bytes);
        const Salvaged s = salvageFile(path(), true);
        EXPECT_EQ(s.result.counts.whole, c.whole);
        EXPECT_EQ(s.result.counts.nameless, c.nameless);
        EXPECT_EQ(s.result.counts.lost, c.lost);
        EXPECT_EQ(fileBytes(path()), bytes) << "the damaged file must not change";
        // Named notes keep their names in tree order.
        QStringList names;
        for (const SalvagedNote& note : s.result.notes)
            if (note.named)
                names << note.record.NoteName();
        ASSERT_EQ(names.size(), c.whole);
        if (c.whole == n) {
            for (int i = 0; i < n; ++i)
                EXPECT_EQ(s.result.notes[i].body, notes[size_t(i)].body);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FourEncodings, SalvageTest,
                         ::testing::Values(0u, uint32_t(bfCompressed), uint32_t(bfEncrypted),
                                           uint32_t(bfCompressed | bfEncrypted)));

TEST_F(StorageTest, SalvageWithoutThePasswordNeverGuessesEncryptedBodies) {
    for (const uint32_t flags : {uint32_t(bfEncrypted), uint32_t(bfCompressed | bfEncrypted)}) {
        SCOPED_TRACE(flags);
        const std::vector<Written> notes = sampleNotes();
        const Layout layout = writeNotebook(path(QStringLiteral("whole.vlr")), flags, notes);
        struct Case {
            const char* name;
            qint64 cut;
        };
        const Case cases[] = {{"whole", layout.bytes.size()},
                              {"cut in half", layout.bytes.size() / 2},
                              {"tree table cut", layout.treeOffset + 3 * NoteRecord::Bytes}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            writeFile(path(), layout.bytes.left(c.cut));
            const Salvaged s = salvageFile(path(), false);
            EXPECT_EQ(s.result.counts.whole, 0);
            EXPECT_EQ(s.result.counts.nameless, 0) << "ciphertext is never taken for a body";
            EXPECT_EQ(s.result.counts.lost, int(notes.size()));
            for (const SalvagedNote& note : s.result.notes)
                EXPECT_TRUE(note.bodyLost);
        }
        // A wrong password opens nothing either.
        DamagedNotebook damaged;
        ASSERT_TRUE(damaged.read(path()));
        EXPECT_FALSE(damaged.unlock(QStringLiteral("не тот")));
        EXPECT_FALSE(damaged.keyHeld());
    }
}

TEST_F(StorageTest, ALostParentStaysEmptyToHoldItsChildren) {
    const std::vector<Written> notes = sampleNotes();
    const Layout layout = writeNotebook(path(QStringLiteral("whole.vlr")), 0, notes);
    QByteArray bytes = layout.bytes;
    // Note 3 (level 3) is the child of note 2, whose body is overwritten.
    const auto [start, end] = layout.bodies[2];
    overwrite(bytes, start + 10, end - start - 20, 7);
    writeFile(path(), bytes);
    const Salvaged s = salvageFile(path(), false);
    EXPECT_EQ(s.result.counts.lost, 1);
    EXPECT_EQ(s.result.counts.whole, int(notes.size()) - 1);
    ASSERT_EQ(s.result.notes.size(), notes.size()) << "the lost parent is kept";
    EXPECT_TRUE(s.result.notes[2].bodyLost);
    EXPECT_EQ(s.result.notes[2].record.NoteName(), notes[2].name);

    TNotebookService service{defaultImages()};
    DamagedNotebook damaged;
    ASSERT_TRUE(damaged.read(path()));
    StorageError error;
    TNodeRoot* nb =
        WriteSalvagedNotebook(service, damaged, damaged.salvage(), path(QStringLiteral("out.vlr")), &error);
    ASSERT_NE(nb, nullptr);
    EXPECT_EQ(nb->Notes[3]->TreeNode->Parent(), nb->Notes[2]->TreeNode);
}

TEST_F(StorageTest, SalvageTargetIsNeverTheDamagedFile) {
    writeFile(path(), QByteArray(4096, 'x'));
    ASSERT_TRUE(QFile::link(path(), path(QStringLiteral("link.vlr"))));
    writeFile(path(QStringLiteral("other.vlr")), QByteArray("other"));
    struct Case {
        QString out;
        bool replace;
        SalvageTarget expected;
    };
    const Case cases[] = {
        {path(), true, SalvageTarget::SameFile},
        {path(QStringLiteral("link.vlr")), true, SalvageTarget::SameFile},
        {dir.path() + QStringLiteral("/./book.vlr"), true, SalvageTarget::SameFile},
        {path(QStringLiteral("other.vlr")), false, SalvageTarget::Exists},
        {path(QStringLiteral("other.vlr")), true, SalvageTarget::Fine},
        {path(QStringLiteral("new.vlr")), false, SalvageTarget::Fine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out.toStdString());
        EXPECT_EQ(CheckSalvageTarget(path(), c.out, c.replace), c.expected);
    }
}

TEST_F(StorageTest, HostileFilesNeitherCrashNorHangSalvage) {
    const Layout layout = writeNotebook(path(QStringLiteral("whole.vlr")), bfCompressed, sampleNotes());
    const qint64 tree = layout.treeOffset;
    struct Case {
        const char* name;
        std::function<QByteArray()> make;
    };
    const Case cases[] = {
        {"empty", [] { return QByteArray(); }},
        {"random 100 KB",
         [] {
             QByteArray b(100 * 1024, '\0');
             overwrite(b, 0, b.size(), 99);
             return b;
         }},
        {"record count huge",
         [&] {
             QByteArray b = layout.bytes;
             setI32At(b, 20, INT32_MAX);
             return b;
         }},
        {"record pointing past the end with a huge size",
         [&] {
             QByteArray b = layout.bytes;
             setI32At(b, tree + 32, INT32_MAX - 8);
             setI32At(b, tree + 36, INT32_MAX);
             setI32At(b, tree + 40, INT32_MAX);
             return b;
         }},
        {"RTF claiming a giant binary run",
         [] { return QByteArray(2048, ' ') + "{\\rtf1 {\\bin2000000000 x}}" + QByteArray(600, ' '); }},
        {"RTF nested a million deep",
         [] { return QByteArray(2048, ' ') + "{\\rtf1" + QByteArray(1000000, '{'); }},
        {"bzip2 signature before garbage",
         [] {
             QByteArray b = QByteArray(2048, ' ') + QByteArray("BZh91AY&SY") + QByteArray(5000, '\x55');
             return b;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = c.make();
        writeFile(path(), bytes);
        DamagedNotebook damaged;
        ASSERT_TRUE(damaged.read(path()));
        const SalvageResult result = damaged.salvage();
        EXPECT_GE(result.counts.lost, 0);
        EXPECT_EQ(fileBytes(path()), bytes);
    }
}

TEST(BodySignatures, RtfDocumentsAreMeasuredByTheirBraces) {
    struct Case {
        QByteArray bytes;
        qsizetype length;
    };
    const Case cases[] = {
        {"{\\rtf1 a}", 9},
        {"{\\rtf1 a}\0tail", 9},
        {"{\\rtf1 \\{ not a group \\} b}", 27},
        {"{\\rtf1 {\\*\\x {y}} z}rest", 20},
        {"{\\rtf1 {\\bin3 }}{}}", 19},
        {"{\\rtf1 unbalanced", 0},
        {"{\\rtf1 control \x01 byte}", 0},
        {"{\\rtf1 {\\bin99 short}}", 0},
        {"no rtf {}", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        EXPECT_EQ(RtfDocumentLength(c.bytes), c.length);
    }
    EXPECT_TRUE(LooksLikeRtfBody(QByteArray("{\\rtf1 a}\0", 10)));
    EXPECT_TRUE(LooksLikeRtfBody(QByteArray("{\\rtf1 a}\r\n")));
    EXPECT_FALSE(LooksLikeRtfBody(QByteArray("{\\rtf1 a}garbage")));
}
