// The rollback journal: what a save cut short leaves, who plays it back,
// what it holds and what it never holds.
#include "fault_injector.h"
#include "notebook_fixture.h"
#include "storage/rollback_journal.h"
#include "storage/save_transaction.h"

#include <QFileInfo>

#include <sys/stat.h>

using namespace vlr;
using namespace vlr::test;

namespace {

class Journal : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        m_wait = NotebookFile::lockWait();
        NotebookFile::setLockWait(100);
    }
    void TearDown() override { NotebookFile::setLockWait(m_wait); }

    QString journal() const { return RollbackJournal::pathFor(path()); }

    // A notebook of three notes with bodies of 10 KB each.
    void makeNotebook() {
        auto b = Book::create(path(), 0, {}, 100);
        for (char c : {'a', 'b', 'c'})
            b->add(QString(QChar(c)), QByteArray(10000, c));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }

    // Saves a change to the first body and stops the process right after
    // its first write to the notebook: a hot journal is left behind.
    void cutSaveShort(const QString& file) {
        int result = -1;
        auto b = Book::open(file, &result);
        ASSERT_EQ(result, lrOk);
        b->service.SetBody(*b->nb->Notes[0], QByteArray(10000, 'Y'));
        struct Crash final : fileio::Hook {
            QString notebook;
            bool gone = false;
            fileio::Verdict before(const fileio::Event& e) override {
                if (gone)
                    return {fileio::Verdict::Skip};
                gone = e.op == fileio::Op::Write && e.path == notebook;
                return {};
            }
        } crash;
        crash.notebook = file;
        fileio::setHook(&crash);
        (void)b->nb->SaveNotes();
        b.reset();
        fileio::setHook(nullptr);
    }

private:
    int m_wait = 0;
};

} // namespace

TEST_F(Journal, ASaveCutShortIsUndoneBeforeTheNotebookIsWrittenAndNeverByAReader) {
    makeNotebook();
    int result = -1;
    QByteArray first;
    {
        auto b = Book::open(path(), &result);
        ASSERT_EQ(result, lrOk);
        b->service.SetBody(*b->nb->Notes[0], QByteArray(10000, 'X'));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
        EXPECT_FALSE(QFile::exists(journal())) << "a completed save leaves no journal";
        first = fileBytes(path());
    }
    cutSaveShort(path());
    ASSERT_TRUE(QFile::exists(journal()));
    const QByteArray cut = fileBytes(path());
    ASSERT_NE(cut, first) << "the save got as far as the notebook";
    EXPECT_EQ(RollbackJournal::probe(path()), RollbackJournal::State::Hot);

    // Readers refuse it and change nothing.
    for (bool inspect : {true, false}) {
        NotebookFile holder; // keeps writers out, so the second open only reads
        ASSERT_TRUE(inspect || holder.open(path(), NotebookFile::Mode::Read));
        auto reader = Book::open(path(), &result, {}, inspect);
        EXPECT_EQ(result, lrNeedsRecovery) << (inspect ? "inspection" : "read-only open");
        EXPECT_EQ(reader->nb, nullptr);
    }
    EXPECT_EQ(fileBytes(path()), cut);
    EXPECT_TRUE(QFile::exists(journal()));

    // Opening for writing plays it back first.
    auto writer = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_EQ(fileBytes(path()), first);
    EXPECT_FALSE(QFile::exists(journal()));
    EXPECT_EQ(writer->body(0), QByteArray(10000, 'X'));
}

TEST_F(Journal, RecoveryOfAFilePlaysTheJournalBackOnce) {
    makeNotebook();
    const QByteArray before = fileBytes(path());
    cutSaveShort(path());
    ASSERT_TRUE(QFile::exists(journal()));

    const RollbackJournal::Playback back = RecoverNotebookFile(path());
    EXPECT_TRUE(back.ok) << describe(back.error).toStdString();
    EXPECT_TRUE(back.hadJournal);
    EXPECT_GT(back.regions, 0);
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_FALSE(QFile::exists(journal()));

    const RollbackJournal::Playback again = RecoverNotebookFile(path());
    EXPECT_TRUE(again.ok);
    EXPECT_FALSE(again.hadJournal);
}

TEST_F(Journal, IsFoundWhicheverNameTheNotebookIsReachedBy) {
    makeNotebook();
    const QByteArray before = fileBytes(path());
    const QString link = path(QStringLiteral("link.vlr"));
    ASSERT_TRUE(QFile::link(path(), link));
    cutSaveShort(link);
    EXPECT_TRUE(QFile::exists(journal())) << "beside the file, not beside the link";
    EXPECT_EQ(RollbackJournal::probe(link), RollbackJournal::State::Hot);
    int result = -1;
    auto reader = Book::open(path(), &result, {}, true);
    EXPECT_EQ(result, lrNeedsRecovery);
    EXPECT_TRUE(RecoverNotebookFile(path()).hadJournal);
    EXPECT_EQ(fileBytes(path()), before);
}

TEST_F(Journal, OnlyWholeRecordsArePlayedBackAndAJournalWithoutHeaderIsNotHot) {
    writeFile(path(), QByteArray(100, 'o'));
    {
        NotebookFile f;
        ASSERT_TRUE(f.open(path(), NotebookFile::Mode::ReadWrite));
        RollbackJournal j(path());
        ASSERT_TRUE(j.start(100, f.descriptor()));
        ASSERT_TRUE(j.keep(0, QByteArray(10, 'o').constData(), 10));
        ASSERT_TRUE(j.keep(50, QByteArray(10, 'o').constData(), 10));
        ASSERT_TRUE(j.makeDurable());
    }
    const QByteArray written = fileBytes(journal());
    ASSERT_EQ(written.size(), 32 + 2 * (16 + 10));
    struct Case {
        const char* name;
        QByteArray journal;
        bool hot;
        QByteArray expected; // the notebook after playback
    };
    QByteArray secondBroken = written;
    secondBroken[32 + 26 + 16 + 3] = 'x';
    QByteArray headerBroken = written;
    headerBroken[20] = 'x';
    // The save changed both kept regions and appended 20 bytes.
    const QByteArray changed = QByteArray(10, 'N') + QByteArray(40, 'o') + QByteArray(10, 'N') +
                               QByteArray(40, 'o') + QByteArray(20, 'n');
    const QByteArray firstOnly = QByteArray(10, 'o') + changed.mid(10, 90);
    const Case cases[] = {
        {"whole", written, true, QByteArray(100, 'o')},
        {"second record damaged", secondBroken, true, firstOnly},
        {"second record cut", written.left(written.size() - 4), true, firstOnly},
        {"header damaged", headerBroken, false, changed},
        {"header cut", written.left(20), false, changed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(path(), changed);
        writeFile(journal(), c.journal);
        EXPECT_EQ(RollbackJournal::probe(path()) == RollbackJournal::State::Hot, c.hot);
        const RollbackJournal::Playback back = RecoverNotebookFile(path());
        EXPECT_TRUE(back.ok);
        EXPECT_EQ(fileBytes(path()), c.expected);
        EXPECT_FALSE(QFile::exists(journal()));
    }
}

TEST_F(Journal, HoldsOnlyTheBytesASaveOverwritesAndNoMoreThanTheNotebookShows) {
    makeNotebook();
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0600), 0);
    int result = -1;
    auto b = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    mode_t journalMode = 0;
    struct Watch final : fileio::Hook {
        mode_t* mode;
        QString file;
        fileio::Verdict before(const fileio::Event& e) override {
            struct stat st {};
            if (e.op == fileio::Op::Write && e.path == file &&
                ::stat(QFile::encodeName(file).constData(), &st) == 0)
                *mode = st.st_mode & 0777;
            return {};
        }
    } watch;
    watch.mode = &journalMode;
    watch.file = journal();
    fileio::setHook(&watch);
    // One character of a 10 KB body changes; the body fits where it is.
    QByteArray body = QByteArray(10000, 'b');
    body[5000] = 'B';
    b->service.SetBody(*b->nb->Notes[1], body);
    const int saved = b->nb->SaveNotes();
    fileio::setHook(nullptr);
    ASSERT_EQ(saved, srOk);
    EXPECT_EQ(journalMode, mode_t(0600)) << "the journal is as private as the notebook";
    // Header 32; a record head of 16 and one 64-byte block for the body; the
    // note's record and the notebook header (a block or two each).
    EXPECT_GT(b->nb->LastJournalBytes, 32 + 16 + 64);
    EXPECT_LE(b->nb->LastJournalBytes, 32 + 3 * 16 + 64 + 2 * 128 + 2 * 128);
    b.reset();
    auto r = Book::open(path(), &result);
    EXPECT_EQ(r->body(1), body);
}

TEST_F(Journal, ATransactionThatChangesNothingTouchesNothing) {
    makeNotebook();
    const QByteArray before = fileBytes(path());
    int result = -1;
    auto b = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    FaultInjector recorder;
    b->nb->TreeDirty = true;
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    EXPECT_EQ(b->nb->PackNotes(false), 0);
    EXPECT_TRUE(recorder.calls().isEmpty()) << "no journal, no write, no sync";
    EXPECT_EQ(fileBytes(path()), before);
}
