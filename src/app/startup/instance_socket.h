#pragma once
// The local socket the instances of one user meet at. It lives in the
// abstract namespace: no socket file is left behind when an instance dies.
// Such a socket has no file permissions, so each side checks who is at the
// other end and talks only to a process of the same user.
#include <QString>

class QLocalSocket;

namespace vlr {

// "Vellinor-" and the numeric user id ($USER may be unset).
QString instanceServerName();

// The socket's peer runs under this process's user id. False when the
// credentials cannot be read.
bool peerIsCurrentUser(const QLocalSocket& socket);

} // namespace vlr
