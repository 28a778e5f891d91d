#include "tree/pending_change_guard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace vlr {

TPendingChangeGuard::TPendingChangeGuard(QWidget& tree, std::function<bool()> pending,
                                         std::function<void()> complete, QObject* parent)
    : QObject(parent), m_tree(tree), m_pending(std::move(pending)), m_complete(std::move(complete)) {}

void TPendingChangeGuard::Install() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

bool TPendingChangeGuard::insideTree(const QObject* watched) const {
    const auto* widget = static_cast<const QWidget*>(watched);
    return widget == &m_tree || m_tree.isAncestorOf(widget);
}

bool TPendingChangeGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Shortcut: // a command's key, whoever has the focus
    case QEvent::Drop:
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The window system's windows pass these on to their widgets, where
        // they are judged.
        if (!watched->isWidgetType() || insideTree(watched))
            return false;
        break;
    default:
        return false;
    }
    if (m_pending())
        m_complete();
    return false;
}

} // namespace vlr
