// A notebook open for writing keeps every other opener out of writing, from
// the moment it is read until it is closed, whatever happens to its saves;
// once its holder is back to reading, others may read but not write. Nobody
// reads a notebook while it is being saved.
#include "fault_injector.h"
#include "notebook_fixture.h"

#include <QElapsedTimer>

#include <cerrno>
#include <thread>

using namespace vlr;
using namespace vlr::test;

namespace {

class FileLock : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        m_wait = NotebookFile::lockWait();
        NotebookFile::setLockWait(100);
        auto b = Book::create(path());
        b->add(QStringLiteral("a"), QByteArray("a"));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    void TearDown() override { NotebookFile::setLockWait(m_wait); }

    // Another process wanting to write: it must not get write access.
    void expectKeptOut(const char* when) {
        int result = -1;
        auto other = Book::open(path(), &result);
        EXPECT_TRUE(result == lrCannotOpen || (result == lrOk && other->nb->OpenedReadOnly)) << when;
        if (other->nb) {
            other->nb->TreeDirty = true;
            EXPECT_EQ(other->nb->SaveNotes(), srNotWritable) << when;
        }
    }

private:
    int m_wait = 0;
};

} // namespace

TEST_F(FileLock, WritersAndReadersExcludeEachOther) {
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

TEST_F(FileLock, TheHolderNeverLetsGoBetweenReadingAndSaving) {
    int result = -1;
    auto holder = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    expectKeptOut("after reading");
    holder->service.SetBody(*holder->nb->Notes[0], QByteArray("changed"));
    ASSERT_EQ(holder->nb->SaveNotes(), srOk);
    expectKeptOut("after a save");
    holder->service.SetBody(*holder->nb->Notes[0], QByteArray(5000, 'x'));
    {
        FaultInjector full(FaultInjector::Mode::FailFrom, 1, ENOSPC);
        EXPECT_EQ(holder->nb->SaveNotes(), srWriteFailed);
    }
    expectKeptOut("after a failed save");
    EXPECT_GE(holder->nb->PackNotes(false), 0);
    expectKeptOut("after a pack");
    ASSERT_EQ(holder->nb->SaveNotes(), srOk) << "the change is still there to save";
    holder.reset();
    auto next = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_EQ(next->body(0), QByteArray(5000, 'x'));
}

TEST_F(FileLock, NobodyReadsANotebookWhileItIsSaved) {
    int result = -1;
    auto writer = Book::open(path(), &result);
    ASSERT_EQ(result, lrOk);
    writer->service.SetBody(*writer->nb->Notes[0], QByteArray("new"));
    // Between the writer's first and last change of the file, an inspector
    // (who takes no open lock) is turned away.
    struct Probe final : fileio::Hook {
        QString notebook;
        int refused = 0;
        int tries = 0;
        fileio::Verdict before(const fileio::Event& e) override {
            if (e.op == fileio::Op::Write && e.path == notebook) {
                NotebookFile inspector;
                ++tries;
                refused += !inspector.openForInspection(notebook);
            }
            return {};
        }
    } probe;
    probe.notebook = path();
    fileio::setHook(&probe);
    const int saved = writer->nb->SaveNotes();
    fileio::setHook(nullptr);
    ASSERT_EQ(saved, srOk);
    EXPECT_GT(probe.tries, 0);
    EXPECT_EQ(probe.refused, probe.tries);
    NotebookFile inspector;
    EXPECT_TRUE(inspector.openForInspection(path())) << "once saved, inspection goes on";
}

TEST_F(FileLock, AWriterWaitsABoundedTimeForTheLock) {
    struct Case {
        const char* name;
        int waitMs;
        int releaseAfterMs; // -1: never
        bool writes;
    };
    const Case cases[] = {
        {"released in time", 2000, 100, true},
        {"held too long", 200, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto holder = std::make_unique<NotebookFile>();
        ASSERT_TRUE(holder->open(path(), NotebookFile::Mode::ReadWrite));
        std::thread release;
        if (c.releaseAfterMs >= 0)
            release = std::thread([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.releaseAfterMs));
                holder->close();
            });
        NotebookFile::setLockWait(c.waitMs);
        QElapsedTimer clock;
        clock.start();
        NotebookFile writer;
        const bool got = writer.open(path(), NotebookFile::Mode::ReadWrite);
        const qint64 waited = clock.elapsed();
        if (release.joinable())
            release.join();
        EXPECT_EQ(got, c.writes);
        if (!c.writes) {
            EXPECT_GE(waited, c.waitMs);
            EXPECT_LT(waited, c.waitMs + 1000);
            EXPECT_EQ(writer.errorString(), QStringLiteral("the notebook is in use by another process"));
        }
    }
}
