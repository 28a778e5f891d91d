#include "app/startup/instance_socket.h"

#include <QLocalSocket>

#include <sys/socket.h>
#include <unistd.h>

namespace vlr {

namespace {

// Keeps a key readable and free of anything a socket name could trip on.
QString sanitized(const QString& text) {
    QString out;
    for (const QChar c : text) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                           c == u'-' || c == u'.' || c == u'_';
        out += plain ? QString(c) : QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    }
    return out;
}

// ":0", ":0.0" and "unix:0" are one X display.
QString x11Display(QString display) {
    if (display.startsWith(u"unix:"))
        display.remove(0, 4);
    const qsizetype colon = display.lastIndexOf(u':');
    const qsizetype dot = display.indexOf(u'.', colon + 1);
    if (colon >= 0 && dot > colon)
        display.truncate(dot);
    return display;
}

} // namespace

QString graphicalSessionKey(const QProcessEnvironment& env) {
    // The display comes before the login session: every program started on a
    // desktop carries its display, while programs that a desktop starts as
    // user services often lack XDG_SESSION_ID.
    const QString wayland = env.value(QStringLiteral("WAYLAND_DISPLAY")).trimmed();
    if (!wayland.isEmpty())
        return QStringLiteral("wl-") + sanitized(wayland);
    const QString x11 = env.value(QStringLiteral("DISPLAY")).trimmed();
    if (!x11.isEmpty())
        return QStringLiteral("x-") + sanitized(x11Display(x11));
    const QString session = env.value(QStringLiteral("XDG_SESSION_ID")).trimmed();
    if (!session.isEmpty())
        return QStringLiteral("s-") + sanitized(session);
    return QStringLiteral("console");
}

QString instanceServerName(const QProcessEnvironment& env) {
    return QStringLiteral("Vellinor-%1-%2").arg(qulonglong(::getuid())).arg(graphicalSessionKey(env));
}

bool peerIsCurrentUser(const QLocalSocket& socket) {
    const qintptr fd = socket.socketDescriptor();
    if (fd < 0)
        return false;
    struct ucred credentials {};
    socklen_t size = sizeof(credentials);
    if (::getsockopt(int(fd), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        size != sizeof(credentials))
        return false;
    return credentials.uid == ::getuid();
}

} // namespace vlr
