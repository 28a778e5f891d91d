#include "app/startup/instance_channel.h"
#include "app/startup/instance_client.h"
#include "qt_printers.h"

#include "config/registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace vlr;
using namespace vlr::instance;

namespace {

QString uniqueName() {
    static int counter = 0;
    return QStringLiteral("VellinorTest-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

// Queued effects run on the event loop; give it a turn.
void settle(int ms = 30) {
    QTest::qWait(ms);
}

class InstanceChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_temp.filePath("config").toUtf8());
        m_name = uniqueName();
        m_server = std::make_unique<TInstanceServer>(m_name);
        ASSERT_EQ(m_server->listen(), TInstanceServer::ListenResult::Listening);
        m_server->setHandlers(recordingHandlers());
    }
    void TearDown() override {
        if (m_oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_oldConfig);
    }

    TInstanceHandlers recordingHandlers() {
        return {[this] { ++m_activations; }, [this](const QString& name) { m_opened << name; }};
    }
    QString makeFile(const QString& name) {
        const QString path = m_temp.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return QFileInfo(path).absoluteFilePath();
    }
    std::unique_ptr<TInstanceClient> connected() {
        auto client = std::make_unique<TInstanceClient>(m_name);
        EXPECT_EQ(client->connectToServer(), TInstanceClient::ConnectResult::Connected);
        return client;
    }
    void expectNoEffect() {
        settle();
        EXPECT_EQ(m_activations, 0);
        EXPECT_TRUE(m_opened.isEmpty()) << m_opened.join(", ").toStdString();
    }

    QTemporaryDir m_temp;
    QByteArray m_oldConfig;
    QString m_name;
    std::unique_ptr<TInstanceServer> m_server;
    int m_activations = 0;
    QStringList m_opened;
};

} // namespace

TEST_F(InstanceChannelTest, ActivateReachesTheHandlerLater) {
    auto client = connected();
    client->sendActivate();
    settle();
    EXPECT_EQ(m_activations, 1);
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(InstanceChannelTest, ForwardedFileIsOpenedByItsAbsolutePath) {
    const QString path = makeFile("my notes.vlr");
    const QString oldCwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_temp.path()));
    auto client = connected();
    const bool taken = client->forwardFile("my notes.vlr");
    QDir::setCurrent(oldCwd);
    EXPECT_TRUE(taken);
    settle();
    EXPECT_EQ(m_opened, QStringList{path});
}

TEST_F(InstanceChannelTest, MissingFilesAndFoldersAreNotSent) {
    auto client = connected();
    EXPECT_FALSE(client->forwardFile(m_temp.filePath("missing.vlr")));
    EXPECT_FALSE(client->forwardFile(m_temp.path()));
    EXPECT_FALSE(client->forwardFile(QString()));
    expectNoEffect();
    // The connection is still good for what follows.
    EXPECT_TRUE(client->probe());
}

TEST_F(InstanceChannelTest, HandOverRecordIsCheckedBeforeAnythingOpens) {
    struct Case {
        const char* name;
        quint64 tag;
        QByteArray data;
        qint64 result;
        QString opened;
    };
    const QByteArray longest(kMaxHandOverBytes, 'n');
    // clang-format off
    const Case cases[] = {
        {"Longest",       42, longest,                        1, QString::fromLatin1(longest)},
        {"OneByteTooLong", 42, longest + 'n',                 0, {}},
        {"OtherTag",      41, "/tmp/a.vlr",                   0, {}},
        {"TagInHighBits", 42 + (quint64(1) << 32), "/tmp/a.vlr", 0, {}},
        {"ZeroByteInside", 42, QByteArray("/tmp/a.vlr\0x", 12), 0, {}},
        {"Utf8Name",      42, "/tmp/Заметки.vlr",             1, QStringLiteral("/tmp/Заметки.vlr")},
    };
    // clang-format on
    auto client = connected();
    for (const Case& c : cases) {
        m_opened.clear();
        EXPECT_EQ(client->send(TRequest::copyData(c.tag, c.data)), c.result) << c.name;
        settle();
        EXPECT_EQ(m_opened, c.opened.isNull() ? QStringList() : QStringList{c.opened}) << c.name;
    }
    EXPECT_EQ(m_activations, 0);
}

TEST_F(InstanceChannelTest, PresenceProbeOnlyAnswers) {
    auto client = connected();
    EXPECT_EQ(client->send(TRequest::program(0x44524C56)), 0x44524C56);
    EXPECT_TRUE(client->probe());
    // Other values are no probe.
    EXPECT_EQ(client->send(TRequest::program(0x44524C57)), 0);
    EXPECT_EQ(client->send(TRequest::program(0)), 0);
    expectNoEffect();
}

TEST_F(InstanceChannelTest, OpenRequestOpensTheNameInTheRegistry) {
    auto client = connected();
    // Nothing kept: answered all the same, nothing opened.
    EXPECT_TRUE(client->sendOpenRequest());
    expectNoEffect();

    TVellinorRegistry registry;
    ASSERT_TRUE(registry.fileName().startsWith(m_temp.path()));
    ASSERT_TRUE(registry.setValue(TVellinorRegistry::kOpenFileCmdLine, QStringLiteral("/data/Книжка.vlr")));
    EXPECT_EQ(client->send(TRequest::program(kOpenRequest)), 2);
    settle();
    EXPECT_EQ(m_opened, QStringList{"/data/Книжка.vlr"});
    EXPECT_EQ(m_activations, 0);
}

TEST_F(InstanceChannelTest, NamesBeforeTheHandlersAreKeptForThem) {
    m_server->setHandlers({});
    const QString a = makeFile("a.vlr");
    const QString b = makeFile("b.vlr");
    auto client = connected();
    client->sendActivate();
    EXPECT_TRUE(client->forwardFile(a));
    EXPECT_TRUE(client->forwardFile(b));
    settle();
    m_server->setHandlers(recordingHandlers());
    EXPECT_TRUE(m_opened.isEmpty()); // handed over from the event loop, not inside setHandlers
    settle();
    EXPECT_EQ(m_opened, QStringList({a, b}));
    EXPECT_EQ(m_activations, 0); // an activation without a window has nothing to activate
}

TEST_F(InstanceChannelTest, GarbageOnTheSocketDoesNothing) {
    m_server->setIdleTimeout(300);
    const auto u32 = [](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        return QByteArray(b, 4);
    };
    const QByteArray activate = encodeRequest(TRequest::program(kActivateRequest));
    QByteArray random(3000, Qt::Uninitialized);
    for (int i = 0; i < random.size(); ++i)
        random[i] = char((i * 7919 + 13) % 251);
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    // clang-format off
    const Case cases[] = {
        {"HugeLength",            u32(0xFFFFFFFF) + activate},
        {"BadLengthThenGoodFrame", u32(21) + activate.mid(4) + "x" + activate},
        {"CountMismatch",         u32(26) + u32(kCopyDataMessage) + QByteArray(16, 0) + u32(5) + "ab" + activate},
        {"RandomBytes",           random},
        {"HalfAFrame",            activate.left(10)},
    };
    // clang-format on
    for (const Case& c : cases) {
        QLocalSocket raw;
        raw.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        raw.connectToServer(m_name);
        ASSERT_TRUE(raw.waitForConnected(1000)) << c.name;
        raw.write(c.bytes);
        raw.flush();
        // The server drops the connection: at once, or after its idle time.
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return raw.state() == QLocalSocket::UnconnectedState; }, 3000))
            << c.name;
        EXPECT_LT(clock.elapsed(), 2000) << c.name;
        EXPECT_EQ(raw.bytesAvailable(), 0) << c.name;
        expectNoEffect();
    }
    // And serves the next peer as before.
    auto client = connected();
    EXPECT_TRUE(client->probe());
}

TEST_F(InstanceChannelTest, AFloodOfRequestsIsCutOff) {
    QLocalSocket raw;
    raw.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    raw.connectToServer(m_name);
    ASSERT_TRUE(raw.waitForConnected(1000));
    QByteArray flood;
    for (int i = 0; i < 1000; ++i)
        flood += encodeRequest(TRequest::program(kActivateRequest));
    raw.write(flood);
    EXPECT_TRUE(QTest::qWaitFor([&] { return raw.state() == QLocalSocket::UnconnectedState; }, 3000));
    settle();
    EXPECT_EQ(m_activations, 256);
}

TEST_F(InstanceChannelTest, SilentOrGarblingServerDoesNotHoldTheClient) {
    QLocalServer fake;
    fake.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    const QString name = uniqueName();
    ASSERT_TRUE(fake.listen(name));
    QByteArray answer; // what the fake answers to anything; empty: nothing
    QObject::connect(&fake, &QLocalServer::newConnection, [&] {
        QLocalSocket* s = fake.nextPendingConnection();
        QObject::connect(s, &QLocalSocket::readyRead, s, [&answer, s] {
            s->readAll();
            s->write(answer);
        });
    });
    for (const QByteArray& reply : {QByteArray(), QByteArray("\x09\0\0\0garbage!", 12)}) {
        answer = reply;
        TInstanceClient client(name);
        client.setTimeout(300);
        ASSERT_EQ(client.connectToServer(), TInstanceClient::ConnectResult::Connected);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(client.probe());
        EXPECT_LT(clock.elapsed(), 2000);
        // Given up on: later messages fail at once.
        EXPECT_FALSE(client.isConnected());
        EXPECT_EQ(client.send(TRequest::program(kActivateRequest)), std::nullopt);
    }
}

TEST_F(InstanceChannelTest, NoServerNoConnection) {
    TInstanceClient client(uniqueName());
    EXPECT_EQ(client.connectToServer(), TInstanceClient::ConnectResult::NoServer);
    EXPECT_FALSE(client.probe());
}

TEST_F(InstanceChannelTest, SecondStartActivatesAndForwardsByTheRule) {
    const QString withBlank = makeFile("my file.vlr");
    const QString other = makeFile("other.vlr");
    makeFile("set.ini");
    // An unquoted name with a blank arrives whole; ".ini" and missing names stay behind.
    const TCommandLine split(canonicalProgramPath(), withBlank.split(u' '));
    TInstanceStart start = startInstance(split, m_name);
    EXPECT_EQ(start.role, TInstanceRole::Second);
    EXPECT_EQ(start.server, nullptr);
    settle();
    EXPECT_EQ(m_activations, 1);
    EXPECT_EQ(m_opened, QStringList{withBlank});

    m_opened.clear();
    const TCommandLine several(canonicalProgramPath(),
                               {withBlank, m_temp.filePath("set.ini"), m_temp.filePath("gone.vlr"), other});
    EXPECT_EQ(startInstance(several, m_name).role, TInstanceRole::Second);
    settle();
    EXPECT_EQ(m_activations, 2);
    EXPECT_EQ(m_opened, QStringList({withBlank, other}));
}

TEST_F(InstanceChannelTest, FirstStartBecomesTheServer) {
    const QString name = uniqueName();
    TInstanceStart first = startInstance(TCommandLine(canonicalProgramPath(), {}), name);
    ASSERT_EQ(first.role, TInstanceRole::First);
    ASSERT_NE(first.server, nullptr);
    EXPECT_TRUE(first.server->isListening());
    int activations = 0;
    first.server->setHandlers({[&] { ++activations; }, {}});
    EXPECT_EQ(startInstance(TCommandLine(canonicalProgramPath(), {}), name).role, TInstanceRole::Second);
    settle();
    EXPECT_EQ(activations, 1);
    // The name is free again as soon as the first instance is gone: no socket file stays behind.
    first.server.reset();
    EXPECT_EQ(startInstance(TCommandLine(canonicalProgramPath(), {}), name).role, TInstanceRole::First);
}

namespace {

struct HelperRun {
    int exitCode = -1;
    QStringList lines;
};

// Runs the helper while this process's event loop keeps serving.
std::unique_ptr<QProcess>
launchHelper(const QStringList& args,
             const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(env);
    p->start(QStringLiteral(VELLINOR_STARTUP_HELPER), args);
    return p;
}

HelperRun finish(QProcess& p) {
    HelperRun run;
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 30000)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.exitCode = p.exitCode();
    run.lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    return run;
}

} // namespace

TEST_F(InstanceChannelTest, RealSecondProcessHandsOverAndEnds) {
    const QString file = makeFile("Заметки 2024.vlr");
    auto p = launchHelper({"start", m_name, file, m_temp.filePath("missing.vlr")});
    const HelperRun run = finish(*p);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines, QStringList{"second"});
    settle();
    EXPECT_EQ(m_activations, 1);
    EXPECT_EQ(m_opened, QStringList{file});
}

TEST_F(InstanceChannelTest, TwoStartsAtOnceMakeOneInstance) {
    const QString name = uniqueName();
    auto a = launchHelper({"start", name});
    auto b = launchHelper({"start", name});
    const HelperRun ra = finish(*a);
    const HelperRun rb = finish(*b);
    EXPECT_EQ(ra.exitCode, 0);
    EXPECT_EQ(rb.exitCode, 0);
    const QStringList all = ra.lines + rb.lines;
    EXPECT_EQ(all.count("first"), 1) << all.join(" | ").toStdString();
    EXPECT_EQ(all.count("second"), 1) << all.join(" | ").toStdString();
    EXPECT_EQ(all.count("activations 1"), 1) << all.join(" | ").toStdString();
}

TEST(InstanceSocket, SessionKeyFollowsTheDisplayThenTheLoginSession) {
    struct Case {
        const char* wayland;
        const char* display;
        const char* session;
        QString key;
    };
    const Case cases[] = {
        {"wayland-0", ":0", "3", "wl-wayland-0"},
        {"", ":1", "3", "x-%3a1"},
        {"", ":1.0", "", "x-%3a1"},
        {"", "unix:1.2", "", "x-%3a1"},
        {"", "localhost:10.0", "", "x-localhost%3a10"},
        {"", "", "c2", "s-c2"},
        {"", "", "", "console"},
        {"/run/user/0/w 1", "", "", "wl-%2frun%2fuser%2f0%2fw%201"},
    };
    for (const Case& c : cases) {
        QProcessEnvironment env;
        for (const auto& [key, value] :
             {std::pair{"WAYLAND_DISPLAY", c.wayland}, std::pair{"DISPLAY", c.display},
              std::pair{"XDG_SESSION_ID", c.session}})
            if (*value)
                env.insert(QString::fromLatin1(key), QString::fromUtf8(value));
        EXPECT_EQ(graphicalSessionKey(env), c.key) << c.wayland << " " << c.display << " " << c.session;
    }
    QProcessEnvironment env;
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":7"));
    EXPECT_EQ(instanceServerName(env), QStringLiteral("Vellinor-%1-x-%3a7").arg(::getuid()));
}

// Two displays of one user each get an instance of their own; a second start on
// one display reaches the window on that display only.
TEST_F(InstanceChannelTest, TwoDisplaysSideBySide) {
    auto onDisplay = [](const QString& display) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("DISPLAY"), display);
        return env;
    };
    const QString pid = QString::number(QCoreApplication::applicationPid());
    auto a = launchHelper({"start", "-"}, onDisplay(":" + pid + "1"));
    auto b = launchHelper({"start", "-"}, onDisplay(":" + pid + "2"));
    // Both first instances serve until activated; a start on display A reaches A alone.
    QTest::qWait(1500);
    auto a2 = launchHelper({"start", "-"}, onDisplay(":" + pid + "1.0"));
    const HelperRun ra2 = finish(*a2);
    EXPECT_EQ(ra2.lines, QStringList{"second"});
    const HelperRun ra = finish(*a);
    EXPECT_EQ(ra.lines.value(0), "first");
    EXPECT_TRUE(ra.lines.contains("activations 1")) << ra.lines.join(" | ").toStdString();
    auto b2 = launchHelper({"start", "-"}, onDisplay(":" + pid + "2"));
    EXPECT_EQ(finish(*b2).lines, QStringList{"second"});
    const HelperRun rb = finish(*b);
    EXPECT_EQ(rb.lines.value(0), "first");
    EXPECT_TRUE(rb.lines.contains("activations 1")) << rb.lines.join(" | ").toStdString();
}

TEST_F(InstanceChannelTest, OtherUsersAreTurnedAway) {
    if (::getuid() != 0)
        GTEST_SKIP() << "needs root to run a helper as another user";
    auto p = launchHelper({"foreign", "65534", m_name});
    const HelperRun run = finish(*p);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines, QStringList{"refused"});
    expectNoEffect();
}
