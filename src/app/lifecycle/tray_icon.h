#pragma once
// The icon in the desktop's notification area: a click brings the window
// back, a double click runs the menu's default item, which is "Свернуть"
// while the window is shown and "Развернуть" while it is minimised. Where
// the desktop has no notification area the window minimises normally.
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

class QAction;
class QMenu;

namespace vlr {

class TrayHost {
public:
    virtual ~TrayHost() = default;
    virtual void RestoreMainWindow() = 0;
    // The window's own minimise command with all its steps.
    virtual void MinimizeMainWindow() = 0;
};

class TTrayIcon : public QObject {
    Q_OBJECT
public:
    static inline const QString kTip = QStringLiteral("Для заметок - Vellinor");
    static inline const QString kNoTray =
        QStringLiteral("Рабочий стол не предоставляет области уведомлений, поэтому окно Vellinor будет "
                       "свёрнуто обычным образом.");

    // exitCommand, when given, ends the menu.
    TTrayIcon(TrayHost& host, QAction* exitCommand = nullptr, QObject* parent = nullptr);
    ~TTrayIcon() override;

    QAction* RestoreItem = nullptr;
    QAction* MinimizeItem = nullptr;
    QMenu* Menu() const { return m_menu; }

    // Shows or removes the icon. A shown icon that the desktop cannot hold
    // yet appears as soon as a notification area does.
    void SetVisible(bool visible);
    bool IsVisible() const;
    // Whether a window minimised into the icon can be found again there.
    // When not, the user hears why once per run.
    bool TakesWindow();
    // The default item follows the window: Restore while minimised.
    void WindowMinimized(bool minimized);
    void Activated(QSystemTrayIcon::ActivationReason reason);
    // The periodic look at the desktop: an area that appeared or came back
    // (the panel was restarted) gets the icon again.
    void Poll();

signals:
    // The notification area went away with the icon in it: a window hidden
    // there has to come back as an ordinary minimised window.
    void areaLost();

private:
    TrayHost& m_host;
    QSystemTrayIcon m_icon;
    QMenu* m_menu;
    QTimer m_poll;
    bool m_wanted = false;
    bool m_areaSeen = false;
    bool m_told = false;
};

} // namespace vlr
