#pragma once
// A later start's side of the instance socket: it sends messages to the
// running instance and waits for each answer, with a time limit, so a hung
// or silent instance never keeps it waiting for long.
#include "app/startup/instance_protocol.h"
#include "app/startup/instance_socket.h"

#include <QString>

#include <memory>
#include <optional>

class QLocalSocket;

namespace vlr {

class TInstanceClient {
public:
    enum class ConnectResult {
        Connected,
        NoServer,    // nobody listens under the name
        ForeignPeer, // a process of another user holds the name
    };

    static constexpr int kDefaultTimeoutMs = 5000;

    explicit TInstanceClient(QString name = instanceServerName());
    ~TInstanceClient();
    TInstanceClient(const TInstanceClient&) = delete;
    TInstanceClient& operator=(const TInstanceClient&) = delete;

    [[nodiscard]] ConnectResult connectToServer();
    bool isConnected() const;
    void disconnectFromServer();

    // Each wait (connecting, one answer) ends after this long.
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    // One message and its answer; nullopt when no answer came (the
    // connection is closed then and later sends fail at once).
    [[nodiscard]] std::optional<qint64> send(const instance::TRequest& request);

    // The activate request; its answer carries nothing.
    void sendActivate();
    // The open request: the running instance opens the name kept in the
    // registry. True when it answered as it should.
    bool sendOpenRequest();
    // A running instance answers the presence probe with the probe's value.
    [[nodiscard]] bool probe();
    // Hands one file to the running instance when the file exists. The name
    // goes as an absolute path: the running instance has its own working
    // folder. True when the instance took it; errors are otherwise ignored.
    bool forwardFile(const QString& name);

private:
    template <typename Done> bool waitUntil(Done done);

    QString m_name;
    std::unique_ptr<QLocalSocket> m_socket;
    QByteArray m_buffer;
    int m_timeoutMs = kDefaultTimeoutMs;
};

} // namespace vlr
