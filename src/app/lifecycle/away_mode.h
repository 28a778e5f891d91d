#pragma once
// Away mode: every notebook under a password is locked at once, on the
// user's command or when the program loses the focus for longer than a
// notebook's away delay.
#include <QObject>

#include <functional>

class QAction;

namespace vlr {

class TNotebookService;

class TAwayMode : public QObject {
    Q_OBJECT
public:
    explicit TAwayMode(TNotebookService& service, QObject* parent = nullptr);

    QAction* FileSetAway = nullptr;

    // While it answers true (the quiet start-up, the close sequence) the
    // program's activation leaves the timers alone.
    std::function<bool()> Suspended;
    // After the command locked the notebooks: the window moves a selection
    // inside a locked notebook to its root and shows it.
    std::function<void()> OnAway;

    // Locks every notebook under a password.
    void SetAway();
    // Deactivation starts each notebook's away and close timers that have a
    // delay; activation stops them.
    void ApplicationStateChanged(Qt::ApplicationState state);

private:
    TNotebookService& m_service;
    // Moves between inactive states (hidden, suspended) do not restart the delays.
    bool m_away = false;
};

} // namespace vlr
