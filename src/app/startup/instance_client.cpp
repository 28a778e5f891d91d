#include "app/startup/instance_client.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTimer>

namespace vlr {

using namespace instance;

TInstanceClient::TInstanceClient(QString name) : m_name(std::move(name)) {}

TInstanceClient::~TInstanceClient() {
    disconnectFromServer();
}

// Runs the event loop (so a server in this same thread is served too) until
// done() holds, the socket closes or the time is up.
template <typename Done> bool TInstanceClient::waitUntil(Done done) {
    if (done())
        return true;
    QEventLoop loop;
    const auto wake = [&] {
        if (done() || m_socket->state() == QLocalSocket::UnconnectedState)
            loop.quit();
    };
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(m_socket.get(), &QLocalSocket::connected, &loop, wake);
    QObject::connect(m_socket.get(), &QLocalSocket::readyRead, &loop, wake);
    QObject::connect(m_socket.get(), &QLocalSocket::disconnected, &loop, wake);
    QObject::connect(m_socket.get(), &QLocalSocket::errorOccurred, &loop, wake);
    QObject::connect(m_socket.get(), &QLocalSocket::stateChanged, &loop, wake);
    timer.start(m_timeoutMs);
    // The state may have changed between the first check and the connects.
    QTimer::singleShot(0, &loop, wake);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return done();
}

TInstanceClient::ConnectResult TInstanceClient::connectToServer() {
    disconnectFromServer();
    m_socket = std::make_unique<QLocalSocket>();
    m_socket->setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    m_socket->connectToServer(m_name);
    const bool connected = waitUntil([this] { return m_socket->state() == QLocalSocket::ConnectedState; });
    if (!connected) {
        disconnectFromServer();
        return ConnectResult::NoServer;
    }
    if (!peerIsCurrentUser(*m_socket)) {
        disconnectFromServer();
        return ConnectResult::ForeignPeer;
    }
    return ConnectResult::Connected;
}

bool TInstanceClient::isConnected() const {
    return m_socket && m_socket->state() == QLocalSocket::ConnectedState;
}

void TInstanceClient::disconnectFromServer() {
    if (m_socket)
        m_socket->abort();
    m_socket.reset();
    m_buffer.clear();
}

std::optional<qint64> TInstanceClient::send(const TRequest& request) {
    if (!isConnected())
        return std::nullopt;
    m_socket->write(encodeRequest(request));
    m_socket->flush();
    std::optional<qint64> result;
    bool malformed = false;
    waitUntil([&] {
        if (result || malformed)
            return true;
        // Only an answer's worth is read: the peer cannot make us hold more.
        m_buffer += m_socket->read(kReplyFrameSize - m_buffer.size());
        qint64 value = 0;
        switch (takeReply(m_buffer, value)) {
        case TFrameStatus::Complete:
            result = value;
            return true;
        case TFrameStatus::Malformed:
            malformed = true;
            return true;
        case TFrameStatus::Incomplete:
            break;
        }
        return false;
    });
    if (!result || malformed)
        disconnectFromServer();
    return malformed ? std::nullopt : result;
}

void TInstanceClient::sendActivate() {
    (void)send(TRequest::program(kActivateRequest));
}

bool TInstanceClient::sendOpenRequest() {
    return send(TRequest::program(kOpenRequest)) == kOpenRequestResult;
}

bool TInstanceClient::probe() {
    const qint64 value = presenceProbeValue();
    return send(TRequest::program(value)) == value;
}

bool TInstanceClient::forwardFile(const QString& name) {
    const QFileInfo info(name);
    if (name.isEmpty() || !info.exists() || info.isDir())
        return false;
    return send(TRequest::copyData(kHandOverTag, info.absoluteFilePath().toLocal8Bit())) == 1;
}

} // namespace vlr
