#include "app/startup/instance_server.h"

#include "config/registry.h"

#include <QLocalSocket>
#include <QTimer>

namespace vlr {

using namespace instance;

namespace {

// A peer that sends requests without reading the answers is dropped before
// its answers pile up.
constexpr qint64 kMaxUnsentBytes = 64 * 1024;
// A start hands over its activation and a few names; more than this on one
// connection is a flood that would keep the window from the user.
constexpr int kMaxRequestsPerConnection = 256;

} // namespace

// One peer: reads its frames as they come, answers each, and drops the peer
// at the first malformed frame, on a long silence or when it goes away.
class TInstanceServer::Connection : public QObject {
public:
    Connection(QLocalSocket* socket, TInstanceServer* server)
        : QObject(server), m_socket(socket), m_server(server) {
        m_socket->setParent(this);
        m_idle.setSingleShot(true);
        m_idle.setInterval(server->idleTimeout());
        connect(&m_idle, &QTimer::timeout, this, &Connection::drop);
        connect(m_socket, &QLocalSocket::readyRead, this, &Connection::readFrames);
        connect(m_socket, &QLocalSocket::disconnected, this, &Connection::drop);
        m_idle.start();
        // Bytes may have arrived before the signals were connected.
        QTimer::singleShot(0, this, &Connection::readFrames);
    }

private:
    void readFrames() {
        while (!m_dropped && m_socket->bytesAvailable() > 0) {
            // Never more than one request's worth: a frame that cannot fit is
            // malformed, and takeRequest says so once its length is in.
            const qsizetype room = maxRequestFrameSize() - m_buffer.size();
            if (room <= 0) {
                drop();
                return;
            }
            m_buffer += m_socket->read(room);
            while (!m_dropped) {
                TRequest request;
                const TFrameStatus status = takeRequest(m_buffer, request);
                if (status == TFrameStatus::Incomplete)
                    break;
                if (status == TFrameStatus::Malformed || ++m_requests > kMaxRequestsPerConnection) {
                    drop();
                    return;
                }
                m_socket->write(encodeReply(m_server->handle(request)));
                m_idle.start();
                if (m_socket->bytesToWrite() > kMaxUnsentBytes)
                    drop();
            }
        }
    }

    void drop() {
        if (m_dropped)
            return;
        m_dropped = true;
        m_idle.stop();
        m_socket->disconnect(this);
        m_socket->abort();
        --m_server->m_connections;
        deleteLater();
    }

    QLocalSocket* m_socket;
    TInstanceServer* m_server;
    QTimer m_idle;
    QByteArray m_buffer;
    int m_requests = 0;
    bool m_dropped = false;
};

TInstanceServer::TInstanceServer(QString name, QObject* parent) : QObject(parent), m_name(std::move(name)) {
    // User access is asked for too, though an abstract socket has no
    // permissions to set: the peer check on every connection is what keeps
    // other users out.
    m_server.setSocketOptions(QLocalServer::AbstractNamespaceOption | QLocalServer::UserAccessOption);
    m_server.setMaxPendingConnections(kMaxConnections);
    connect(&m_server, &QLocalServer::newConnection, this, &TInstanceServer::acceptConnections);
}

TInstanceServer::~TInstanceServer() = default;

TInstanceServer::ListenResult TInstanceServer::listen() {
    if (m_server.isListening())
        return ListenResult::Listening;
    if (m_server.listen(m_name))
        return ListenResult::Listening;
    return m_server.serverError() == QAbstractSocket::AddressInUseError ? ListenResult::NameInUse
                                                                        : ListenResult::Failed;
}

void TInstanceServer::acceptConnections() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        if (m_connections >= kMaxConnections || !peerIsCurrentUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_connections;
        new Connection(socket, this);
    }
}

qint64 TInstanceServer::handle(const TRequest& request) {
    if (request.message == kProgramMessage) {
        if (request.lParam == kActivateRequest) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (m_handlers.activate)
                        m_handlers.activate();
                },
                Qt::QueuedConnection);
            return 0;
        }
        if (request.lParam == kOpenRequest) {
            const QString name = TVellinorRegistry().value(TVellinorRegistry::kOpenFileCmdLine);
            if (!name.isEmpty())
                queueOpen(name);
            return kOpenRequestResult;
        }
        if (request.lParam == presenceProbeValue())
            return request.lParam;
        return 0;
    }
    if (request.isCopyData()) {
        // A name holding a zero byte can only be cut short somewhere on the
        // way to the file system, so it is refused like an oversized one.
        if (request.tag != kHandOverTag || request.data.size() > kMaxHandOverBytes ||
            request.data.contains('\0'))
            return 0;
        queueOpen(QString::fromLocal8Bit(request.data));
        return 1;
    }
    return 0;
}

void TInstanceServer::setHandlers(TInstanceHandlers handlers) {
    m_handlers = std::move(handlers);
    if (!m_handlers.openByName)
        return;
    const QStringList pending = std::exchange(m_pendingOpens, {});
    for (const QString& name : pending)
        queueOpen(name);
}

void TInstanceServer::queueOpen(const QString& name) {
    QMetaObject::invokeMethod(
        this, [this, name] { deliverOpen(name); }, Qt::QueuedConnection);
}

void TInstanceServer::deliverOpen(const QString& name) {
    if (m_handlers.openByName)
        m_handlers.openByName(name);
    else if (m_pendingOpens.size() < kMaxPendingOpens)
        m_pendingOpens << name;
}

} // namespace vlr
