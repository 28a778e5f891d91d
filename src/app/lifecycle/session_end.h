#pragma once
// The end of the desktop session closes the window as an exit would, with
// the same questions; a Cancel answer asks the desktop to keep the session.
#include <QObject>

#include <functional>

namespace vlr {

// What the program needs of the desktop's session manager.
class SessionQuery {
public:
    virtual ~SessionQuery() = default;
    // Asks for leave to show questions; false when the desktop refuses.
    virtual bool AllowsInteraction() = 0;
    // The session goes on.
    virtual void Cancel() = 0;
};

class TSessionEnd : public QObject {
    Q_OBJECT
public:
    // Runs the window's close sequence marked as the end of the session;
    // true when the window closed, false when the user called it off.
    using CloseRequest = std::function<bool()>;

    explicit TSessionEnd(CloseRequest close, QObject* parent = nullptr);

    void CommitData(SessionQuery& query);

private:
    CloseRequest m_close;
    bool m_running = false;
};

} // namespace vlr
