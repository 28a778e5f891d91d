#include "tree/hover_select.h"

#include "storage/note_forest.h"
#include "tree/ov_tree.h"

#include <QCursor>
#include <QGuiApplication>

namespace vlr {

TTreeHoverSelect::TTreeHoverSelect(TOvTree& tree) : QObject(&tree), m_tree(tree) {
    modifiers = &QGuiApplication::queryKeyboardModifiers;
    m_hover.setInterval(kHoverMs);
    m_expand.setInterval(kExpandMs);
    connect(&m_hover, &QTimer::timeout, this, &TTreeHoverSelect::hoverFired);
    connect(&m_expand, &QTimer::timeout, this, &TTreeHoverSelect::expandFired);
}

void TTreeHoverSelect::SetIntervals(int hoverMs, int expandMs) {
    m_hover.setInterval(hoverMs);
    m_expand.setInterval(expandMs);
}

void TTreeHoverSelect::setHand(bool on) {
    if (on == m_hand)
        return;
    m_hand = on;
    if (on)
        m_tree.viewport()->setCursor(Qt::PointingHandCursor);
    else
        m_tree.viewport()->unsetCursor();
}

void TTreeHoverSelect::MouseMoved(QPoint pos, Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
    if (isBlocked())
        return;
    m_lastPos = pos;
    if (mods != Qt::ControlModifier || buttons != Qt::NoButton) {
        m_expand.stop();
        setHand(false);
        return;
    }
    setHand(true);
    TTreeNode* node = m_tree.NodeAt(pos);
    if (!node)
        return;
    m_node = node;
    m_tree.SetDropTarget(node);
    m_hover.start();
    if (node->HasChildren())
        m_expand.start();
}

void TTreeHoverSelect::hoverFired() {
    m_hover.stop();
    TTreeNode* node = std::exchange(m_node, nullptr);
    if (node && m_tree.DropTarget() == node)
        m_tree.SetDropTarget(nullptr);
    if (!node || isBlocked())
        return;
    if (m_tree.NodeAt(m_lastPos) == node && modifiers() == Qt::ControlModifier && select)
        select(node);
}

void TTreeHoverSelect::expandFired() {
    if ((dragging && dragging()) || isBlocked())
        return;
    TTreeNode* node = m_tree.NodeAt(m_lastPos);
    if (!node || !expand)
        return;
    expand(node);
    if (m_tree.NodeAt(m_lastPos) != node) {
        const QRect row = m_tree.visualRect(m_tree.IndexOf(node));
        if (!row.isEmpty())
            QCursor::setPos(m_tree.viewport()->mapToGlobal(QPoint(m_lastPos.x(), row.center().y())));
    }
}

} // namespace vlr
