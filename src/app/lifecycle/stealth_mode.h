#pragma once
// Stealth mode: the window leaves the screen, the task bar and the
// notification area, and only the activation hot key brings it back. The
// mode is refused whenever that key is not really held, since the window
// could then never be found again.
#include <QObject>
#include <QString>

class QAction;

namespace vlr {

struct TVLROptions;

class StealthHost {
public:
    virtual ~StealthHost() = default;
    // Whether the activation key is registered with the desktop right now,
    // and why not when it is not.
    virtual bool HotKeyHeld() const = 0;
    virtual QString HotKeyProblem() const = 0;
    // Where the program keeps its settings, named when the hot key is off.
    virtual QString SettingsFilePath() const = 0;
    // Minimised or hidden: the hot key brings such a window back.
    virtual bool MainWindowMinimized() const = 0;
    virtual void RestoreMainWindow() = 0;
    // The window's own minimise command with all its steps.
    virtual void MinimizeMainWindow() = 0;
    // Takes the window off the screen and the task bar.
    virtual void HideMainWindow() = 0;
    virtual void RemoveTrayIcon() = 0;
    // Locks every notebook under a password.
    virtual void SetAway() = 0;
};

class TStealthMode : public QObject {
    Q_OBJECT
public:
    // Names the option keys and the settings file itself: there is no
    // options window to point to. %1 is the settings file's path.
    static inline const QString kHotKeyOff = QStringLiteral(
        "Невозможно перейти в режим невидимки! Горячая клавиша для активации программы выключена.\r\n\r\n"
        "Чтобы включить её, закройте Vellinor и в файле настроек\r\n%1\r\nв разделе [Options] задайте "
        "EnableHotKey=1 и ActivateHotKey=Ctrl+Alt+N (или другое сочетание клавиш). Править файл нужно при "
        "закрытой программе: при выходе она записывает свои настройки заново.");
    static inline const QString kHotKeyNotHeld =
        QStringLiteral("Невозможно перейти в режим невидимки! Горячая клавиша для активации программы не "
                       "действует, и вернуть окно Vellinor было бы нечем.\r\n\r\n%1");
    static inline const QString kGoingStealth = QStringLiteral(
        "Сейчас Vellinor перейдёт в режим невидимки. Вы сможете развернуть окно Vellinor только с "
        "помощью следующей горячей клавиши:");

    // options: the program's record (the question may be switched off in it).
    TStealthMode(StealthHost& host, TVLROptions& options, QObject* parent = nullptr);

    QAction* FileStealth = nullptr;

    // Hides the program after the checks and the question; whether it did.
    bool Stealth();
    // The activation key was pressed: a window out of sight comes back, a
    // shown one is minimised.
    void HotKeyPressed();
    // The window was minimised by any command. Unless stealth mode itself did
    // it, StealthOnMinimize hides the program as well, once the minimise is over.
    void WindowMinimized();

private:
    StealthHost& m_host;
    TVLROptions& m_options;
    // Set while stealth mode minimises the window.
    bool m_entering = false;
};

} // namespace vlr
