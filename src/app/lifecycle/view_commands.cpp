#include "app/lifecycle/view_commands.h"

#include "core/dateformat.h"

#include "app/status_panels.h"
#include "config/settingsfile.h"

#include <QAction>
#include <QDateTime>
#include <QDockWidget>
#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace vlr {

namespace {
const QString kSection = QStringLiteral("ControlsPos");
constexpr int kClockInterval = 10000;

QAction* makeToggle(QObject* parent, const char* name, const QString& text, const QKeySequence& key = {}) {
    auto* a = new QAction(text, parent);
    a->setObjectName(QLatin1String(name));
    a->setCheckable(true);
    if (!key.isEmpty())
        a->setShortcut(key);
    return a;
}
} // namespace

TViewCommands::TViewCommands(QMainWindow& window, QDockWidget& tree, TStatusPanels& panels, QObject* parent)
    : QObject(parent), m_window(window), m_tree(tree), m_panels(panels) {
    ViewFullScreen =
        makeToggle(this, "ViewFullScreen", QStringLiteral("Редактор во всё окно"), QKeySequence(Qt::Key_F11));
    ViewToggleTree =
        makeToggle(this, "ViewToggleTree", QStringLiteral("Спрятать дерево"), QKeySequence(Qt::Key_F9));
    ViewStatus = makeToggle(this, "ViewStatus", QStringLiteral("Строка состояния"));
    ViewClock = makeToggle(this, "ViewClock", QStringLiteral("Часы"));
    ViewStatus->setChecked(true);
    ViewClock->setChecked(true);
    connect(ViewFullScreen, &QAction::triggered, this, &TViewCommands::toggleFullScreen);
    connect(ViewToggleTree, &QAction::toggled, this, [this](bool hide) { showTree(!hide); });
    connect(ViewStatus, &QAction::toggled, this, &TViewCommands::showStatus);
    connect(ViewClock, &QAction::toggled, this, &TViewCommands::showClock);
    m_clockTimer.setSingleShot(true);
    connect(&m_clockTimer, &QTimer::timeout, this, &TViewCommands::updateClock);
    showClock(true);
}

void TViewCommands::Read(const TSettingsFile& settings) {
    ViewClock->setChecked(settings.readBool(kSection, QStringLiteral("ClockVisible"), true));
    ViewStatus->setChecked(settings.readBool(kSection, QStringLiteral("StatusVisible"), true));
    showClock(ViewClock->isChecked());
    showStatus(ViewStatus->isChecked());
}

void TViewCommands::Write(TSettingsFile& settings) const {
    settings.writeBool(kSection, QStringLiteral("ClockVisible"), ViewClock->isChecked());
    settings.writeBool(kSection, QStringLiteral("StatusVisible"), ViewStatus->isChecked());
}

QString TViewCommands::ClockText(const QDateTime& now) {
    // The program's own format language, which drops the time zone Qt's
    // formats would add; hours and minutes spelled out, since some locales'
    // short time carries seconds.
    return formatDateTime(QStringLiteral("ddddd hh:nn"), now);
}

int TViewCommands::ClockRefreshDelay(const QDateTime& now) {
    const QTime t = now.time();
    // A few milliseconds past the minute, so the timer never wakes just before it.
    const int toNextMinute = 60000 - (t.second() * 1000 + t.msec()) + 20;
    return std::min(kClockInterval, toNextMinute);
}

void TViewCommands::toggleFullScreen() {
    m_fullScreen = !m_fullScreen;
    ViewFullScreen->setChecked(m_fullScreen);
    if (m_fullScreen) {
        m_hidden.clear();
        QList<QWidget*> bars;
        for (QToolBar* bar : m_window.findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
            bars << bar;
        for (QDockWidget* dock : m_window.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly))
            bars << dock;
        for (QWidget* w : std::as_const(bars)) {
            if (w->isVisible()) {
                m_hidden << w;
                w->hide();
            }
        }
        return;
    }
    for (const QPointer<QWidget>& w : std::as_const(m_hidden))
        if (w && !(w == &m_tree && ViewToggleTree->isChecked()))
            w->show();
    m_hidden.clear();
    if (ViewStatus->isChecked() && m_window.statusBar()->isHidden())
        m_window.statusBar()->show();
}

void TViewCommands::showTree(bool visible) {
    m_tree.setVisible(visible);
}

void TViewCommands::showStatus(bool visible) {
    m_window.statusBar()->setVisible(visible);
}

void TViewCommands::showClock(bool visible) {
    QLabel* clock = m_panels.panel(TStatusPanels::Clock);
    if (visible) {
        updateClock();
    } else {
        m_clockTimer.stop();
        clock->clear();
    }
    clock->setVisible(visible);
}

void TViewCommands::updateClock() {
    QLabel* clock = m_panels.panel(TStatusPanels::Clock);
    const QDateTime now = QDateTime::currentDateTime();
    const QString text = ClockText(now);
    clock->setText(text);
    m_clockTimer.start(ClockRefreshDelay(now));
    clock->setFixedWidth(clock->fontMetrics().horizontalAdvance(text) + 30);
}

} // namespace vlr
