#include "app/lifecycle/session_end.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace vlr {

namespace {
#if QT_CONFIG(sessionmanager)
class QtSessionQuery final : public SessionQuery {
public:
    explicit QtSessionQuery(QSessionManager& manager) : m_manager(manager) {}
    bool AllowsInteraction() override { return m_manager.allowsInteraction(); }
    void Cancel() override { m_manager.cancel(); }

private:
    QSessionManager& m_manager;
};
#endif
} // namespace

TSessionEnd::TSessionEnd(CloseRequest close, QObject* parent) : QObject(parent), m_close(std::move(close)) {
#if QT_CONFIG(sessionmanager)
    // Direct: the manager is valid only while the signal is being emitted.
    connect(
        qGuiApp, &QGuiApplication::commitDataRequest, this,
        [this](QSessionManager& manager) {
            QtSessionQuery query(manager);
            CommitData(query);
        },
        Qt::DirectConnection);
#endif
}

void TSessionEnd::CommitData(SessionQuery& query) {
    // A second request while the questions of the first are open is the
    // same end of session.
    if (m_running || !m_close)
        return;
    m_running = true;
    // Leave is asked for before any question; without it the window still
    // closes, as the session ends either way.
    query.AllowsInteraction();
    if (!m_close())
        query.Cancel();
    m_running = false;
}

} // namespace vlr
