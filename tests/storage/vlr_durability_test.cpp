// vlr writing safely: a save cut short is reported and undone, writers take
// turns through the lock, a full disk fails the command and changes nothing,
// input is read to its end, and a huge body needs bounded memory.
#include "storage/notebook_file.h"
#include "storage/rollback_journal.h"
#include "vlr_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <thread>

using namespace vlr;
using namespace vlr::test;

namespace {

class VlrWrites : public VlrTool {
protected:
    // A notebook with two plain notes, "one" and "two".
    void makeNotebook() {
        ASSERT_EQ(vlr({"new", file()}).code, 0);
        ASSERT_EQ(vlr({"add", file(), "--name", "one", "--plain", "--body", "-"}, "first").code, 0);
        ASSERT_EQ(vlr({"add", file(), "--name", "two", "--plain", "--body", "-"}, "second").code, 0);
    }
    QString journal() const { return RollbackJournal::pathFor(file()); }
    // What a save leaves when it stops half-way: the journal with the old
    // bytes of 64 bytes it overwrote, and bytes it appended. Returns the file.
    QByteArray cutShort(const QByteArray& before) {
        {
            NotebookFile notebook;
            EXPECT_TRUE(notebook.open(file(), NotebookFile::Mode::ReadWrite));
            RollbackJournal j(file());
            EXPECT_TRUE(j.start(before.size(), notebook.descriptor()));
            EXPECT_TRUE(j.keep(1024, before.constData() + 1024, 64));
            EXPECT_TRUE(j.makeDurable());
        }
        QByteArray cut = before;
        cut.replace(1024, 64, QByteArray(64, '#'));
        cut += QByteArray(100, '+');
        put(file(), cut);
        return cut;
    }
    QStringList folder() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

} // namespace

TEST_F(VlrWrites, ASaveCutShortIsReportedByReadersAndUndoneByRecover) {
    makeNotebook();
    const QByteArray before = bytes(file());
    const QByteArray cut = cutShort(before);

    for (const QStringList& args :
         QList<QStringList>{{"ls", file()}, {"info", file()}, {"cat", file(), "0"}}) {
        const Outcome r = vlr(args);
        EXPECT_EQ(r.code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("needs recovery")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("vlr recover")) << r.err.toStdString();
    }
    const Outcome check = vlr({"check", file(), "--json"});
    EXPECT_EQ(check.code, 1);
    EXPECT_TRUE(check.out.contains("needs recovery"));
    EXPECT_EQ(bytes(file()), cut) << "readers never write";
    EXPECT_TRUE(QFile::exists(journal()));

    const Outcome recover = vlr({"recover", file()});
    ASSERT_EQ(recover.code, 0) << recover.err.toStdString();
    EXPECT_TRUE(recover.out.contains("1 regions, 64 bytes")) << recover.out.toStdString();
    EXPECT_EQ(bytes(file()), before);
    EXPECT_FALSE(QFile::exists(journal()));
    EXPECT_EQ(vlr({"check", file()}).code, 0);
    EXPECT_TRUE(vlr({"recover", file()}).out.contains("nothing to recover"));

    // A writer plays a journal back itself before it reads.
    ASSERT_EQ(cutShort(before), cut);
    ASSERT_EQ(vlr({"put", file(), "two"}, "changed").code, 0);
    EXPECT_EQ(vlr({"cat", file(), "one"}).out, QByteArray("first"));
    EXPECT_EQ(vlr({"cat", file(), "two"}).out, QByteArray("changed"));
    EXPECT_FALSE(QFile::exists(journal()));
}

TEST_F(VlrWrites, WritersTakeTurnsAndNoChangeIsLost) {
    makeNotebook();
    for (int round = 0; round < 4; ++round) {
        QProcess a;
        QProcess b;
        prepare(a);
        prepare(b);
        a.start(program(), {"put", file(), "one"});
        b.start(program(), {"put", file(), "two"});
        ASSERT_TRUE(a.waitForStarted() && b.waitForStarted());
        const QByteArray x = "one " + QByteArray::number(round);
        const QByteArray y = "two " + QByteArray::number(round);
        a.write(x);
        b.write(y);
        a.closeWriteChannel();
        b.closeWriteChannel();
        const Outcome ra = finish(a);
        const Outcome rb = finish(b);
        ASSERT_EQ(ra.code, 0) << ra.err.toStdString();
        ASSERT_EQ(rb.code, 0) << rb.err.toStdString();
        EXPECT_EQ(vlr({"cat", file(), "one"}).out, x) << "round " << round;
        EXPECT_EQ(vlr({"cat", file(), "two"}).out, y) << "round " << round;
    }
}

TEST_F(VlrWrites, TheLockDecidesWhoWaitsAndWhoGivesUp) {
    makeNotebook();
    enum class Hold { Writing, Reading, Saving };
    struct Case {
        const char* name;
        Hold hold;
        int releaseAfterMs; // -1: held until the command ends
        QStringList command;
        int code;
        const char* error; // part of the message, or nothing
        bool changes;
    };
    // clang-format off
    const Case cases[] = {
        {"a writer waits for another writer", Hold::Writing, 300, {"put", "two", "--wait", "10"}, 0, nullptr, true},
        {"a writer gives up on a writer", Hold::Writing, -1, {"put", "two", "--wait", "0.3"}, 1, "in use", false},
        {"a writer waits for a reader", Hold::Reading, 300, {"put", "two", "--wait", "10"}, 0, nullptr, true},
        {"a writer gives up on a reader", Hold::Reading, -1, {"put", "two", "--wait", "0.3"}, 1, "in use", false},
        {"a reader reads beside a writer", Hold::Writing, -1, {"cat", "one", "--wait", "0.3"}, 0, nullptr, false},
        {"a reader waits for a save", Hold::Saving, 300, {"cat", "one", "--wait", "10"}, 0, nullptr, false},
        {"a reader gives up on a save", Hold::Saving, -1, {"cat", "one", "--wait", "0.3"}, 1, "in use", false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray before = bytes(file());
        auto holder = std::make_unique<NotebookFile>();
        ASSERT_TRUE(holder->open(file(), c.hold == Hold::Reading ? NotebookFile::Mode::Read
                                                                 : NotebookFile::Mode::ReadWrite));
        if (c.hold == Hold::Saving) {
            ASSERT_TRUE(holder->lockForSaving());
        }
        std::thread release;
        if (c.releaseAfterMs >= 0)
            release = std::thread([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.releaseAfterMs));
                holder->close();
            });
        QStringList args = c.command;
        args.insert(1, file());
        QElapsedTimer clock;
        clock.start();
        const Outcome r = vlr(args, "from the second process");
        const qint64 took = clock.elapsed();
        if (release.joinable())
            release.join();
        holder.reset();
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        if (c.error) {
            EXPECT_TRUE(r.err.contains(c.error)) << r.err.toStdString();
        }
        if (c.releaseAfterMs >= 0) {
            EXPECT_GE(took, c.releaseAfterMs) << "it waited";
        }
        EXPECT_EQ(bytes(file()) != before, c.changes);
        EXPECT_FALSE(QFile::exists(journal()));
    }
}

TEST_F(VlrWrites, AFullDiskFailsTheCommandWithOneLineAndChangesNothing) {
    makeNotebook();
    const qint64 size = bytes(file()).size();
    struct Case {
        const char* name;
        QStringList args;
        QByteArray input;
        qint64 limit; // largest file size the command may make
    };
    const QString fresh = file(QStringLiteral("fresh.vlr"));
    const Case cases[] = {
        {"put", {"put", file(), "two"}, QByteArray(20000, 'p'), size + 2000},
        {"add",
         {"add", file(), "--name", "three", "--plain", "--body", "-"},
         QByteArray(20000, 'a'),
         size + 2000},
        {"new", {"new", fresh}, {}, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray before = bytes(file());
        const qint64 limit = c.limit;
        const Outcome r = vlr(c.args, c.input, {}, [limit] {
            // Files cannot grow past the limit: writes fail as on a full disk.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit l{rlim_t(limit), rlim_t(limit)};
            ::setrlimit(RLIMIT_FSIZE, &l);
        });
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("as before") || r.err.contains("cannot be written"))
            << r.err.toStdString();
        EXPECT_EQ(bytes(file()), before);
        EXPECT_EQ(folder(), QStringList{QStringLiteral("n.vlr")}) << "no journal, no partial file";
    }
    EXPECT_EQ(vlr({"check", file()}).code, 0);
    EXPECT_EQ(vlr({"cat", file(), "two"}).out, QByteArray("second"));

    // Output that cannot be written all is a failure too.
    QProcess cat;
    prepare(cat);
    cat.setStandardOutputFile(QStringLiteral("/dev/full"));
    cat.start(program(), {"cat", file(), "two"});
    const Outcome full = finish(cat);
    EXPECT_EQ(full.code, 1);
    EXPECT_TRUE(full.err.contains("could not be written")) << full.err.toStdString();
}

TEST_F(VlrWrites, InputIsReadToItsRealEndWhateverThePace) {
    makeNotebook();
    QProcess p;
    // Standard input that does not block: no data yet is not its end.
    prepare(p, {}, [] { ::fcntl(0, F_SETFL, ::fcntl(0, F_GETFL) | O_NONBLOCK); });
    p.start(program(), {"put", file(), "two"});
    ASSERT_TRUE(p.waitForStarted());
    QByteArray sent;
    for (int i = 0; i < 4; ++i) {
        const QByteArray chunk(70000, char('a' + i));
        p.write(chunk);
        ASSERT_TRUE(p.waitForBytesWritten(10000));
        sent += chunk;
        QThread::msleep(150);
    }
    p.closeWriteChannel();
    const Outcome r = finish(p);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(vlr({"cat", file(), "two"}).out, sent);
}

#if defined(__SANITIZE_ADDRESS__)
#define VLR_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VLR_ADDRESS_SANITIZER 1
#endif
#endif

TEST_F(VlrWrites, AHugeBodyNeedsAtMostAboutThreeTimesItsSizeInMemory) {
#ifdef VLR_ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer's own memory would be measured";
#endif
    makeNotebook();
    // The peak of a child counts what it shared with this process before it
    // started vlr, so the bodies never sit in this process whole.
    auto peakOfChildren = [] {
        rusage u{};
        ::getrusage(RUSAGE_CHILDREN, &u);
        return qint64(u.ru_maxrss) * 1024;
    };
    ASSERT_EQ(vlr({"ls", file()}).code, 0);
    const qint64 idle = peakOfChildren();
    constexpr qint64 kBody = qint64(64) << 20;
    struct Case {
        const char* name;
        QStringList args;
        QByteArray pattern; // repeated up to kBody
    };
    const Case cases[] = {
        {"RTF", {"add", file(), "--name", "rtf", "--body", "-"}, "{\\rtf1 some text\\par}"},
        {"plain text to convert",
         {"add", file(), "--name", "text", "--plain", "--body", "-"},
         "Ёжик в тумане. "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess p;
        prepare(p);
        p.start(program(), c.args);
        ASSERT_TRUE(p.waitForStarted());
        QByteArray slice;
        while (slice.size() < (1 << 20))
            slice += c.pattern;
        qint64 sent = 0;
        while (sent < kBody) {
            p.write(slice);
            ASSERT_TRUE(p.waitForBytesWritten(30000));
            sent += slice.size();
        }
        p.closeWriteChannel();
        const Outcome r = finish(p);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const qint64 used = peakOfChildren() - idle;
        EXPECT_LT(used, 3 * sent) << "peak " << (used >> 20) << " MiB over an idle vlr for a body of "
                                  << (sent >> 20) << " MiB";
        RecordProperty(c.name, QByteArray::number(used >> 20).constData());
        EXPECT_EQ(vlr({"cat", file(), c.args[3]}).out.size(), sent) << "stored whole";
    }
}
