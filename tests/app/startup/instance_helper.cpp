// A program for the instance tests that must run in a process of their own.
//   instance_helper start NAME [ARGS...]   the start-up flow under NAME ("-": the default
//                                          name of this process's session) with ARGS as its
//                                          command line; prints the role; a first instance
//                                          serves until activated, then prints what it got
//   instance_helper foreign UID NAME       as user UID: sends an activate frame under NAME
//                                          without any checks; prints "answered" or "refused"
#include "app/startup/instance_channel.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QTimer>

#include <cstdio>
#include <grp.h>
#include <unistd.h>

using namespace vlr;

namespace {

void say(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

int start(QCoreApplication& app, const QString& name, const QStringList& args) {
    TInstanceStart started = startInstance(TCommandLine(canonicalProgramPath(), args), name);
    if (started.role == TInstanceRole::Second) {
        say("second");
        return 0;
    }
    if (started.role == TInstanceRole::Standalone) {
        say("standalone");
        return 0;
    }
    say("first");
    int activations = 0;
    QStringList opened;
    started.server->setHandlers({[&] {
                                     ++activations;
                                     // Names forwarded after the activation still arrive.
                                     QTimer::singleShot(500, &app, &QCoreApplication::quit);
                                 },
                                 [&](const QString& file) { opened << file; }});
    QTimer::singleShot(20000, &app, &QCoreApplication::quit);
    app.exec();
    say(QStringLiteral("activations %1").arg(activations));
    for (const QString& file : opened)
        say(QStringLiteral("opened %1").arg(file));
    return 0;
}

int foreign(uint uid, const QString& name) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0) {
        say("cannot change user");
        return 3;
    }
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(name);
    if (!socket.waitForConnected(2000)) {
        say("refused");
        return 0;
    }
    socket.write(instance::encodeRequest(instance::TRequest::program(instance::kActivateRequest)));
    socket.waitForBytesWritten(2000);
    const bool answered = socket.waitForReadyRead(2000) && socket.bytesAvailable() > 0;
    say(answered ? "answered" : "refused");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() >= 2 && args[0] == QLatin1String("start"))
        return start(app, args[1] == QLatin1String("-") ? instanceServerName() : args[1], args.mid(2));
    if (args.size() == 3 && args[0] == QLatin1String("foreign"))
        return foreign(args[1].toUInt(), args[2]);
    say("usage: instance_helper start NAME [ARGS...] | foreign UID NAME");
    return 2;
}
