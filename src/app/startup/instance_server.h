#pragma once
// The running instance's side of the instance socket: it answers the
// messages of later starts and of other programs and passes their effect to
// the main window, always later on the event loop, never while a peer waits.
#include "app/startup/instance_protocol.h"
#include "app/startup/instance_socket.h"

#include <QLocalServer>
#include <QObject>
#include <QStringList>

#include <functional>

namespace vlr {

// What the main window does for the instance messages.
struct TInstanceHandlers {
    std::function<void()> activate;                 // back from the tray or minimised, to the front
    std::function<void(const QString&)> openByName; // open one notebook by its file name
};

class TInstanceServer : public QObject {
    Q_OBJECT
public:
    enum class ListenResult {
        Listening,
        NameInUse, // another process holds the name
        Failed,
    };

    static constexpr int kDefaultIdleTimeoutMs = 5000;
    static constexpr int kMaxConnections = 8;
    // Names handed over before the main window takes them, kept for it.
    static constexpr int kMaxPendingOpens = 64;

    explicit TInstanceServer(QString name = instanceServerName(), QObject* parent = nullptr);
    ~TInstanceServer() override;

    [[nodiscard]] ListenResult listen();
    bool isListening() const { return m_server.isListening(); }
    const QString& name() const { return m_name; }
    QString errorString() const { return m_server.errorString(); }

    // Installs the main window's handlers. Names that arrived before are
    // handed to the new open handler, in order, from the event loop.
    void setHandlers(TInstanceHandlers handlers);

    // The answer to one message; its effect is queued on the event loop.
    qint64 handle(const instance::TRequest& request);

    // A connection that completes no frame for this long is dropped.
    void setIdleTimeout(int milliseconds) { m_idleTimeoutMs = milliseconds; }
    int idleTimeout() const { return m_idleTimeoutMs; }

private:
    class Connection;
    friend class Connection;

    void acceptConnections();
    void queueOpen(const QString& name);
    void deliverOpen(const QString& name);

    QString m_name;
    QLocalServer m_server;
    TInstanceHandlers m_handlers;
    QStringList m_pendingOpens;
    int m_idleTimeoutMs = kDefaultIdleTimeoutMs;
    int m_connections = 0;
};

} // namespace vlr
