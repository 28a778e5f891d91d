#include "app/lifecycle/tray_icon.h"

#include "core/messages.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>

namespace vlr {

namespace {
constexpr int kPollInterval = 10000;
}

TTrayIcon::TTrayIcon(TrayHost& host, QAction* exitCommand, QObject* parent)
    : QObject(parent), m_host(host), m_menu(new QMenu) {
    RestoreItem = m_menu->addAction(QStringLiteral("Развернуть"));
    MinimizeItem = m_menu->addAction(QStringLiteral("Свернуть"));
    connect(RestoreItem, &QAction::triggered, this, [this] { m_host.RestoreMainWindow(); });
    connect(MinimizeItem, &QAction::triggered, this, [this] { m_host.MinimizeMainWindow(); });
    if (exitCommand) {
        m_menu->addSeparator();
        m_menu->addAction(exitCommand);
    }
    WindowMinimized(false);
    m_icon.setToolTip(kTip);
    m_icon.setContextMenu(m_menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TTrayIcon::Activated);
    m_poll.setInterval(kPollInterval);
    connect(&m_poll, &QTimer::timeout, this, &TTrayIcon::Poll);
}

TTrayIcon::~TTrayIcon() {
    m_icon.hide();
    delete m_menu;
}

void TTrayIcon::SetVisible(bool visible) {
    m_wanted = visible;
    if (!visible) {
        m_poll.stop();
        m_icon.hide();
        return;
    }
    m_poll.start();
    m_areaSeen = QSystemTrayIcon::isSystemTrayAvailable();
    if (m_areaSeen) {
        m_icon.setIcon(QGuiApplication::windowIcon());
        m_icon.show();
    }
}

bool TTrayIcon::IsVisible() const {
    return m_icon.isVisible();
}

bool TTrayIcon::TakesWindow() {
    if (QSystemTrayIcon::isSystemTrayAvailable())
        return true;
    if (!m_told) {
        m_told = true;
        showMessage(kNoTray, QStringLiteral("Vellinor"), MsgIcon::Information);
    }
    return false;
}

void TTrayIcon::WindowMinimized(bool minimized) {
    RestoreItem->setVisible(minimized);
    MinimizeItem->setVisible(!minimized);
    m_menu->setDefaultAction(minimized ? RestoreItem : MinimizeItem);
}

void TTrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger)
        m_host.RestoreMainWindow();
    else if (reason == QSystemTrayIcon::DoubleClick)
        m_menu->defaultAction()->trigger();
}

void TTrayIcon::Poll() {
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    if (m_wanted && available && (!m_areaSeen || !m_icon.isVisible())) {
        // Hidden first: an icon the old area held is not in the new one.
        m_icon.hide();
        m_icon.setIcon(QGuiApplication::windowIcon());
        m_icon.show();
    }
    const bool lost = m_wanted && m_areaSeen && !available;
    m_areaSeen = available;
    if (lost)
        emit areaLost();
}

} // namespace vlr
