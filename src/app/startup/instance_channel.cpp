#include "app/startup/instance_channel.h"

#include "app/startup/instance_client.h"

#include <QLoggingCategory>
#include <QThread>

namespace vlr {

namespace {

Q_LOGGING_CATEGORY(lcInstance, "vellinor.instance")

// Between binding the name and listening on it, or while it dies, a holder
// refuses connections; these tries cover that moment.
constexpr int kAttempts = 10;
constexpr int kRetryDelayMs = 50;

void handOver(TInstanceClient& client, const TCommandLine& commandLine) {
    client.sendActivate();
    if (!commandLine.hasArguments())
        return;
    for (const QString& name : commandLine.forwardedNames())
        client.forwardFile(name);
}

} // namespace

TInstanceStart startInstance(const TCommandLine& commandLine, const QString& name) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        auto server = std::make_unique<TInstanceServer>(name);
        switch (server->listen()) {
        case TInstanceServer::ListenResult::Listening:
            return {TInstanceRole::First, std::move(server)};
        case TInstanceServer::ListenResult::Failed:
            qCWarning(lcInstance) << "no instance socket:" << server->errorString();
            return {TInstanceRole::Standalone, nullptr};
        case TInstanceServer::ListenResult::NameInUse:
            break;
        }
        TInstanceClient client(name);
        switch (client.connectToServer()) {
        case TInstanceClient::ConnectResult::Connected:
            handOver(client, commandLine);
            return {TInstanceRole::Second, nullptr};
        case TInstanceClient::ConnectResult::ForeignPeer:
            // Someone else's process sits on our name: tell it nothing.
            qCWarning(lcInstance) << "the instance socket" << name << "belongs to another user";
            return {TInstanceRole::Standalone, nullptr};
        case TInstanceClient::ConnectResult::NoServer:
            break;
        }
        QThread::msleep(kRetryDelayMs);
    }
    qCWarning(lcInstance) << "the instance socket" << name << "is taken but nobody answers";
    return {TInstanceRole::Standalone, nullptr};
}

} // namespace vlr
