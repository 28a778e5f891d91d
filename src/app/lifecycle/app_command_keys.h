#pragma once
// The dedicated keys of multimedia keyboards (Back, Search, Copy…) and the
// mouse's back and forward buttons run the window's commands of the same
// meaning, wherever the focus is inside the window.
#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QWidget;

namespace vlr {

class TAppCommandKeys : public QObject {
    Q_OBJECT
public:
    // Finds a command by its name (the action's object name); none when the
    // window has no such command.
    using Lookup = std::function<QAction*(const QString& name)>;

    // Watches every event delivered inside window (its dialogs are windows of
    // their own and are left alone).
    TAppCommandKeys(QWidget& window, Lookup lookup, QObject* parent = nullptr);
    ~TAppCommandKeys() override;

    // The command of a key or mouse button; empty when it has none.
    static QString CommandOfKey(int key);
    static QString CommandOfButton(Qt::MouseButton button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs the command when it exists and is enabled; whether it ran.
    bool run(const QString& command);

    QPointer<QWidget> m_window;
    Lookup m_lookup;
};

} // namespace vlr
