#include "app/lifecycle/stealth_mode.h"

#include "app/command_texts.h"
#include "app/lifecycle/global_hot_key.h"
#include "config/options.h"
#include "core/messages.h"

#include <QAction>
#include <QDir>
#include <QScopedValueRollback>
#include <QTimer>

namespace vlr {

TStealthMode::TStealthMode(StealthHost& host, TVLROptions& options, QObject* parent)
    : QObject(parent), m_host(host), m_options(options) {
    FileStealth = new QAction(QStringLiteral("Невидимка"), this);
    FileStealth->setObjectName(QStringLiteral("FileStealth"));
    connect(FileStealth, &QAction::triggered, this, &TStealthMode::Stealth);
}

bool TStealthMode::Stealth() {
    if (!m_options.EnableHotKey) {
        showMessage(kHotKeyOff.arg(QDir::toNativeSeparators(m_host.SettingsFilePath())), kError,
                    MsgIcon::Error);
        return false;
    }
    if (!m_host.HotKeyHeld()) {
        showMessage(kHotKeyNotHeld.arg(m_host.HotKeyProblem()), kError, MsgIcon::Error);
        return false;
    }
    const QString key = hotKeyDisplayText(m_options.ActivateHotKey, m_options.PlusWin);
    if (!ConfirmOnce(kAttention, kGoingStealth + QStringLiteral("\r\n\r\n") + key, m_options.AskHide,
                     MbOk | MbCancel, MsgIcon::Information))
        return false;
    {
        const QScopedValueRollback entering(m_entering, true);
        m_host.MinimizeMainWindow();
    }
    // Minimised into the tray the window is already hidden, but a desktop
    // without a notification area leaves it in the task bar: hide it either way.
    if (m_options.MinimizeToTray)
        m_host.RemoveTrayIcon();
    m_host.HideMainWindow();
    if (m_options.AwayOnStealth)
        m_host.SetAway();
    return true;
}

void TStealthMode::HotKeyPressed() {
    if (m_host.MainWindowMinimized())
        m_host.RestoreMainWindow();
    else
        m_host.MinimizeMainWindow();
}

void TStealthMode::WindowMinimized() {
    if (m_entering || !m_options.StealthOnMinimize)
        return;
    // The window's state change is still being delivered; the question waits for it.
    QTimer::singleShot(0, this, [this] {
        if (m_host.MainWindowMinimized())
            Stealth();
    });
}

} // namespace vlr
