#pragma once
// The View menu's window toggles: the editor over the whole window, the tree
// pane, the status bar and its clock. Their check states are kept between
// sessions.
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QAction;
class QDockWidget;
class QMainWindow;
class QWidget;

namespace vlr {

class TSettingsFile;
class TStatusPanels;

class TViewCommands : public QObject {
    Q_OBJECT
public:
    TViewCommands(QMainWindow& window, QDockWidget& tree, TStatusPanels& panels, QObject* parent = nullptr);

    QAction* ViewFullScreen = nullptr;
    QAction* ViewToggleTree = nullptr;
    QAction* ViewStatus = nullptr;
    QAction* ViewClock = nullptr;

    void Read(const TSettingsFile& settings);
    void Write(TSettingsFile& settings) const;
    bool IsFullScreen() const { return m_fullScreen; }
    // The clock's text at now: short date and time to the minute. Seconds are
    // left out: a clock that moves once a minute cannot keep them true.
    static QString ClockText(const QDateTime& now);
    // How long the clock waits from now: at most the ten seconds of its
    // timer, and never past the start of the next minute, so the minute shown
    // changes when the system's does.
    static int ClockRefreshDelay(const QDateTime& now);

private:
    void toggleFullScreen();
    void showTree(bool visible);
    void showStatus(bool visible);
    void showClock(bool visible);
    void updateClock();

    QMainWindow& m_window;
    QDockWidget& m_tree;
    TStatusPanels& m_panels;
    QTimer m_clockTimer;
    bool m_fullScreen = false;
    // What the editor-only view hid, shown again when it is left.
    QList<QPointer<QWidget>> m_hidden;
};

} // namespace vlr
