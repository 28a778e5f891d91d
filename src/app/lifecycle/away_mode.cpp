#include "app/lifecycle/away_mode.h"

#include "storage/notebook_service.h"

#include <QAction>
#include <QGuiApplication>

namespace vlr {

namespace {
// A delay whose count is zero is off whatever its unit: a timer over it
// would fire at once.
bool hasDelay(uint32_t value) {
    return (value & 0x7FFFFFFFu) != 0;
}
} // namespace

TAwayMode::TAwayMode(TNotebookService& service, QObject* parent) : QObject(parent), m_service(service) {
    FileSetAway = new QAction(QStringLiteral("Режим \"ушёл\""), this);
    FileSetAway->setObjectName(QStringLiteral("FileSetAway"));
    connect(FileSetAway, &QAction::triggered, this, &TAwayMode::SetAway);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, &TAwayMode::ApplicationStateChanged);
}

void TAwayMode::SetAway() {
    for (TNodeRoot* nb : m_service.Notebooks())
        if (nb->HasBookFlag(bfEncrypted) && !nb->IsLocked())
            m_service.Lock(*nb);
    if (OnAway)
        OnAway();
}

void TAwayMode::ApplicationStateChanged(Qt::ApplicationState state) {
    if (Suspended && Suspended())
        return;
    const bool away = state != Qt::ApplicationActive;
    if (away == m_away)
        return;
    m_away = away;
    for (TNodeRoot* nb : m_service.Notebooks()) {
        // Only a key held can be taken away; a notebook without a password
        // has nothing to lock.
        nb->SetAwayTimer(away && nb->HasBookFlag(bfEncrypted) && !nb->IsLocked() &&
                         hasDelay(nb->Header.AwayTime()));
        nb->SetCloseTimer(away && hasDelay(nb->Header.CloseTime()));
    }
}

} // namespace vlr
