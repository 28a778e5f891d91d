#include "editor/mouse_focus.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QWidget>

namespace vlr {

TMouseFocus::TMouseFocus(QWidget* editor, std::function<bool()> mayTake)
    : QObject(editor), m_editor(editor), m_mayTake(std::move(mayTake)) {
    editor->installEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(editor)) {
        area->viewport()->installEventFilter(this);
        area->viewport()->setMouseTracking(true);
    }
}

bool TMouseFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && !m_editor->hasFocus() && m_editor->isVisible() &&
        m_editor->isEnabled() && m_editor->window()->isActiveWindow() && (!m_mayTake || m_mayTake()))
        m_editor->setFocus(Qt::MouseFocusReason);
    return QObject::eventFilter(watched, event);
}

} // namespace vlr
