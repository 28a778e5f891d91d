// Every operation that writes a notebook, in every encoding, cut short at
// every call that changes a file: by a crash, by a failure (ENOSPC, EIO, once
// or from then on) and by a power cut that loses writes not yet synced.
// After each, once the journal is played back, the notebook must be exactly
// as before or exactly as after the operation: every body, the tree and the
// deleted notes. A failure must be reported, and the notebook in memory must
// still hold the change, so that saving again gives the new state.
//
// CI runs a sample of the positions; VLR_FAULTS=full runs every one
// (scripts/fault-injection.sh).
#include "fault_injector.h"
#include "notebook_fixture.h"
#include "storage/rollback_journal.h"
#include "storage/save_transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <functional>

using namespace vlr;
using namespace vlr::test;

namespace {

const QString kPassword = QStringLiteral("секрет");
const QString kBookName = QStringLiteral("book.vlr");
constexpr int kReserve = 24;

bool fullRun() {
    return qEnvironmentVariable("VLR_FAULTS") == QLatin1String("full");
}

// Folders in memory where there is such a file system: syncs are modelled
// here, not made, and thousands of small files come and go.
QString folderTemplate() {
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return base + QStringLiteral("/vellinor-faults-XXXXXX");
}

struct Encoding {
    const char* name;
    uint32_t flags;
};
const Encoding kEncodings[] = {{"plain", 0},
                               {"compressed", bfCompressed},
                               {"encrypted", bfEncrypted},
                               {"both", bfCompressed | bfEncrypted}};

// Text of a given length that compresses about as well whatever the seed.
QByteArray text(int length, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray out;
    out.reserve(length);
    while (out.size() < length)
        out += char('a' + random.bounded(16));
    return out;
}

TNodeData* noteNamed(Book& b, const QString& name) {
    for (TNodeData* n : std::as_const(b.nb->Notes))
        if (n->Record.NoteName() == name)
            return n;
    ADD_FAILURE() << "no note " << name.toStdString();
    return nullptr;
}

// The notebook the operations start from: a nested note, a plain-text one,
// a deleted one that keeps its body, and waste left by a body that moved to
// the end (so "a" is the last body in the file).
void makeBase(const QString& file, uint32_t flags) {
    auto b = Book::create(file, flags, kPassword, kReserve);
    TNodeData* a = b->add(QStringLiteral("a"), text(40, 1));
    b->add(QStringLiteral("b"), text(60, 2), a->TreeNode);
    b->add(QStringLiteral("c"), QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2, plain text"), nullptr, true);
    b->add(QStringLiteral("d"), text(50, 4));
    TNodeData* gone = b->add(QStringLiteral("gone"), text(30, 5));
    b->add(QStringLiteral("e"), text(30, 6));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    b->remove(gone);
    b->service.SetBody(*a, text(200, 7));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
}

struct Operation {
    const char* name;
    // Changes the notebook in memory (not measured).
    std::function<void(Book&)> prepare;
    // The writing itself: true when it reports success.
    std::function<bool(Book&)> run;
    bool createsFile = false;
};

bool save(Book& b) {
    return b.nb->SaveNotes() == srOk;
}

void rewriteEveryBody(Book& b) {
    b.nb->LoadChildNotes(b.nb->RootNode, true);
}

const Operation kOperations[] = {
    {"body_in_place",
     [](Book& b) {
         b.service.SetBody(*noteNamed(b, QStringLiteral("c")), "\xcd\xee\xe2\xfb\xe9, plain text");
     },
     save},
    {"body_grown_in_place",
     [](Book& b) { b.service.SetBody(*noteNamed(b, QStringLiteral("a")), text(400, 8)); }, save},
    {"body_appended", [](Book& b) { b.service.SetBody(*noteNamed(b, QStringLiteral("b")), text(300, 9)); },
     save},
    {"note_deleted_and_kept", [](Book& b) { b.service.DeleteNote(*noteNamed(b, QStringLiteral("d"))); },
     save},
    {"note_added",
     [](Book& b) {
         TNodeData* n =
             b.service.AddNote(*b.nb, b.nb->RootNode, 1, QStringLiteral("new"), NewNoteDefaults{}, false);
         b.service.SetBody(*n, text(90, 10));
     },
     save},
    {"pack", [](Book&) {}, [](Book& b) { return b.nb->PackNotes(false) >= 0; }},
    {"pack_purge", [](Book&) {}, [](Book& b) { return b.nb->PackNotes(true) >= 0; }},
    {"protection_change",
     [](Book& b) {
         rewriteEveryBody(b);
         if (b.nb->HasBookFlag(bfEncrypted)) {
             b.nb->SetBookFlag(bfEncrypted, false);
             b.nb->TreeDirty = true;
         } else {
             ASSERT_TRUE(b.service.Protect(*b.nb, kPassword));
         }
     },
     save},
    {"compression_change",
     [](Book& b) {
         rewriteEveryBody(b);
         b.nb->SetBookFlag(bfCompressed, !b.nb->HasBookFlag(bfCompressed));
         b.nb->TreeDirty = true;
     },
     save},
    {"new_notebook", [](Book&) {}, save, true},
};

// What a reader finds in the folder once a journal left there is played
// back: the tree with every body, and the deleted notes with theirs.
struct State {
    bool exists = false;
    QString problem;
    QList<QByteArray> lines;
    bool operator==(const State& o) const {
        return exists == o.exists && problem == o.problem && lines == o.lines;
    }
    // The first line that differs from another state, or the problem.
    std::string against(const State& o) const {
        if (!exists || !problem.isEmpty())
            return exists ? problem.toStdString() : "no notebook";
        for (qsizetype i = 0; i < qMax(lines.size(), o.lines.size()); ++i)
            if (lines.value(i) != o.lines.value(i))
                return "\"" + lines.value(i).left(40).toStdString() + "\" where \"" +
                       o.lines.value(i).left(40).toStdString() + "\"";
        return "the same";
    }
};

State stateOf(const FolderImage& image, const QString& scratch) {
    writeFolder(scratch, image);
    FaultInjector quiet; // playing a journal back needs no real syncs here
    State s;
    const QString file = scratch + QLatin1Char('/') + kBookName;
    if (!QFile::exists(file))
        return s;
    s.exists = true;
    int result = -1;
    auto b = Book::open(file, &result, kPassword);
    if (result != lrOk) {
        s.problem = QStringLiteral("opened with result %1").arg(result);
        return s;
    }
    if (QFile::exists(RollbackJournal::pathFor(file)))
        s.problem = QStringLiteral("the journal is still there");
    TNodeRoot& nb = *b->nb;
    if (!nb.KeyHeld)
        (void)vlr::Unlock(nb, kPassword); // bodies encrypted before protection was removed
    const qint64 strip =
        qint64(nb.Header.TreeOffset()) + (qint64(nb.Header.LastRecord()) + 1) * NoteRecord::Bytes;
    if (strip >= nb.FileSize())
        s.problem = QStringLiteral("the picture strip is missing");
    s.lines << QByteArray::number(nb.Header.BookFlags() & (bfCompressed | bfEncrypted));
    auto add = [&](const TNodeData* note, const QByteArray& tag) {
        QByteArray body;
        bool digestOk = true;
        bool expandOk = true;
        const bool stored = note->Record.Offset() != 0 || note->Record.Size() != 0;
        if (stored && (!nb.DecodeNote(*note, body, &digestOk, &expandOk) || !digestOk || !expandOk))
            s.problem = QStringLiteral("the body of %1 does not read back").arg(note->Record.NoteName());
        s.lines << tag + note->Record.NoteName().toUtf8() + ':' + body;
    };
    for (const TNodeData* note : std::as_const(nb.Notes))
        add(note, QByteArray::number(note->Record.Level()) + ' ');
    for (const TNodeData* note : std::as_const(nb.DeletedNotes))
        add(note, "deleted ");
    return s;
}

class FaultMatrix : public StorageTest, public ::testing::WithParamInterface<std::tuple<int, int, bool>> {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        ASSERT_TRUE(work.isValid() && scratch.isValid());
        m_limit = SaveTransaction::queueLimit();
        // A small queue makes a save journal and write in several rounds.
        if (std::get<2>(GetParam()))
            SaveTransaction::setQueueLimit(200);
    }
    void TearDown() override { SaveTransaction::setQueueLimit(m_limit); }

    const Encoding& encoding() const { return kEncodings[std::get<0>(GetParam())]; }
    const Operation& operation() const { return kOperations[std::get<1>(GetParam())]; }
    QString workFile() const { return work.filePath(kBookName); }

    // The notebook as the operation finds it, in memory and ready to run.
    std::unique_ptr<Book> start() {
        std::unique_ptr<Book> b;
        if (operation().createsFile) {
            b = Book::create(workFile(), encoding().flags, kPassword, kReserve);
            TNodeData* a = b->add(QStringLiteral("a"), text(40, 11));
            b->add(QStringLiteral("b"), text(50, 12), a->TreeNode);
            b->add(QStringLiteral("c"), QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2"), nullptr, true);
        } else {
            int result = -1;
            b = Book::open(workFile(), &result, kPassword);
            EXPECT_EQ(result, lrOk);
            EXPECT_TRUE(b->nb && b->nb->File().writable());
        }
        operation().prepare(*b);
        return b;
    }

    // Positions 1..count to try: all of them in a full run, a sample otherwise.
    QList<int> positions(int count, int stride) const {
        QList<int> out;
        const int step = fullRun() ? 1 : stride;
        const int first = 1 + (std::get<1>(GetParam()) + std::get<0>(GetParam())) % step;
        for (int k = first; k <= count; k += step)
            out << k;
        if (!fullRun() && (out.isEmpty() || out.last() != count))
            out << count;
        return out;
    }

    void expectOldOrNew(const State& s, const char* mode, int position) {
        if (s == before || s == after)
            return;
        if (++failures <= 5)
            ADD_FAILURE() << operation().name << ", " << encoding().name << ", " << mode << " at call "
                          << position << ": neither the old notebook (" << s.against(before)
                          << ") nor the new one (" << s.against(after) << ")";
    }

    // After a failed save the notebook still reads as the new one: bodies
    // in memory as changed, the others from the file as they were.
    void expectBodiesInMemoryAreNew(Book& b, const char* mode, int position) {
        QHash<QString, QByteArray> wanted;
        for (const QByteArray& line : std::as_const(after.lines)) {
            const qsizetype space = line.indexOf(' ');
            const qsizetype colon = line.indexOf(':');
            if (space > 0 && colon > space && !line.startsWith("deleted "))
                wanted.insert(QString::fromUtf8(line.mid(space + 1, colon - space - 1)), line.mid(colon + 1));
        }
        for (int i = 0; i < b.nb->Notes.size(); ++i) {
            const QString name = b.nb->Notes[i]->Record.NoteName();
            QByteArray body;
            const bool stored = b.nb->Notes[i]->Loaded || b.nb->Notes[i]->Record.Size() > 0;
            if (stored && b.nb->ReadNote(i, body) < 0)
                body = "(unreadable)";
            EXPECT_EQ(body, wanted.value(name)) << operation().name << ", " << encoding().name << ", " << mode
                                                << " at call " << position << ": note " << name.toStdString();
        }
    }

    QTemporaryDir work{folderTemplate()};
    QTemporaryDir scratch{folderTemplate()};
    FolderImage base;
    State before, after;
    QList<LoggedCall> log;
    int failures = 0;

private:
    qint64 m_limit = 0;
};

TEST_P(FaultMatrix, TheNotebookIsAlwaysTheOldOrTheNewOne) {
    if (!operation().createsFile) {
        makeBase(workFile(), encoding().flags);
        base = readFolder(work.path());
    }
    before = stateOf(base, scratch.path());
    ASSERT_TRUE(before.problem.isEmpty()) << before.problem.toStdString();

    // The operation undisturbed: its calls and the state it leads to.
    writeFolder(work.path(), base);
    {
        auto b = start();
        FaultInjector recorder;
        ASSERT_TRUE(operation().run(*b)) << describe(b->nb->SaveError).toStdString();
        log = recorder.calls();
    }
    ASSERT_NE(readFolder(work.path()), base) << "the operation must write";
    after = stateOf(readFolder(work.path()), scratch.path());
    ASSERT_TRUE(after.problem.isEmpty()) << after.problem.toStdString();
    const int count = int(log.size());
    ASSERT_GT(count, 0);

    int runs = 0;
    // A crash: every call after the kth does nothing.
    for (int k : positions(count, 3)) {
        ++runs;
        writeFolder(work.path(), base);
        {
            auto b = start();
            FaultInjector crash(FaultInjector::Mode::Crash, k - 1);
            (void)operation().run(*b);
            b.reset(); // the process is gone: closing does nothing either
        }
        expectOldOrNew(stateOf(readFolder(work.path()), scratch.path()), "crash", k);
    }

    // A failure, once or from then on: reported; the file is put back (or,
    // failing that, played back when opened); saving again succeeds.
    struct FailCase {
        const char* name;
        FaultInjector::Mode mode;
        int error;
    };
    const FailCase fails[] = {{"ENOSPC", FaultInjector::Mode::Fail, ENOSPC},
                              {"EIO", FaultInjector::Mode::Fail, EIO},
                              {"ENOSPC from then on", FaultInjector::Mode::FailFrom, ENOSPC}};
    for (const FailCase& f : fails) {
        for (int k : positions(count, 4)) {
            ++runs;
            writeFolder(work.path(), base);
            auto b = start();
            bool ok = true;
            {
                FaultInjector fault(f.mode, k, f.error);
                ok = operation().run(*b);
                EXPECT_TRUE(fault.struck());
            }
            EXPECT_FALSE(ok) << operation().name << ", " << encoding().name << ": " << f.name << " at call "
                             << k << " was reported as success";
            expectOldOrNew(stateOf(readFolder(work.path()), scratch.path()), f.name, k);
            expectBodiesInMemoryAreNew(*b, f.name, k);
            EXPECT_TRUE(operation().run(*b))
                << f.name << " at " << k << ": " << describe(b->nb->SaveError).toStdString();
            b.reset();
            const State again = stateOf(readFolder(work.path()), scratch.path());
            EXPECT_TRUE(again == after)
                << operation().name << ", " << encoding().name << ", saved again after " << f.name
                << " at call " << k << ": " << again.against(after);
        }
    }

    // A power cut after the kth call: of the calls not yet synced, any may be lost.
    QRandomGenerator random(quint32(std::get<0>(GetParam()) * 100 + std::get<1>(GetParam())));
    const int perCut = fullRun() ? 8 : 1;
    const int least = fullRun() ? 150 : 24;
    int scenarios = 0;
    auto powerCut = [&](int cut, bool lossy) {
        expectOldOrNew(stateOf(afterPowerCut(base, log, cut, lossy ? &random : nullptr), scratch.path()),
                       lossy ? "power cut" : "power cut (nothing lost)", cut);
        ++scenarios;
    };
    for (int cut : positions(count, 3)) {
        powerCut(cut, false);
        if (unsyncedCalls(log, cut) > 0)
            for (int i = 0; i < perCut; ++i)
                powerCut(cut, true);
    }
    while (scenarios < least)
        powerCut(1 + int(random.bounded(count)), true);
    EXPECT_EQ(failures, 0) << "notebooks neither old nor new";
    RecordProperty("calls", count);
    RecordProperty("power_cuts", scenarios);
    if (fullRun())
        std::printf("  %s, %s: %d calls, %d runs cut short, %d power cuts\n", operation().name,
                    encoding().name, count, runs, scenarios);
}

std::string caseName(const ::testing::TestParamInfo<FaultMatrix::ParamType>& info) {
    const auto [e, o, small] = info.param;
    return std::string(kOperations[o].name) + "_" + kEncodings[e].name + (small ? "_small_queue" : "");
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultMatrix,
                         ::testing::Combine(::testing::Range(0, int(std::size(kEncodings))),
                                            ::testing::Range(0, int(std::size(kOperations))),
                                            ::testing::Bool()),
                         caseName);

} // namespace
