#pragma once
// The local socket the instances of one user meet at. It lives in the
// abstract namespace: no socket file is left behind when an instance dies.
// Such a socket has no file permissions, so each side checks who is at the
// other end and talks only to a process of the same user.
#include <QProcessEnvironment>
#include <QString>

class QLocalSocket;

namespace vlr {

// The graphical session a process runs in, as a name part: the display it
// shows its windows on (Wayland first, then X11 with the screen number
// dropped), else the login session, else "console". Two displays of one user
// (a second X session, a remote desktop, a test under Xvfb) get two keys, so
// a start on one never hands its files to a window on the other.
QString graphicalSessionKey(const QProcessEnvironment& env);

// "Vellinor-", the numeric user id ($USER may be unset) and the session key.
QString instanceServerName(const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

// The socket's peer runs under this process's user id. False when the
// credentials cannot be read.
bool peerIsCurrentUser(const QLocalSocket& socket);

} // namespace vlr
