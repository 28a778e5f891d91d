#pragma once
// Focus follows the mouse: moving the mouse over the editor gives it the
// focus when the window is active, the editor is shown and enabled, and
// nothing else needs the keyboard just then.
#include <QObject>
#include <functional>

class QWidget;

namespace vlr {

class TMouseFocus : public QObject {
public:
    // mayTake: the window's own conditions (option on, no title being
    // edited, no find or spelling dialog, the collector not focused).
    TMouseFocus(QWidget* editor, std::function<bool()> mayTake);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_editor;
    std::function<bool()> m_mayTake;
};

} // namespace vlr
