#include "app/startup/instance_socket.h"

#include <QLocalSocket>

#include <sys/socket.h>
#include <unistd.h>

namespace vlr {

QString instanceServerName() {
    return QStringLiteral("Vellinor-%1").arg(qulonglong(::getuid()));
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
