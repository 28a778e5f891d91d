#include "tree/tree_drag.h"

#include "tree/MyTreeView.h"

#include <QCursor>
#include <QScrollBar>

namespace vlr {

bool DropAllowed(const TTreeNode* dragged, const TTreeNode* target, bool ctrl, bool shift, bool alt) {
    if (!dragged || !target || !dragged->Note())
        return false; // notebooks are not dragged
    if (target == dragged)
        return false;
    TTreeNode* ownRoot = const_cast<TTreeNode*>(dragged)->Root();
    if (alt && target == ownRoot)
        return false;
    // A copy with its children cannot go into its own subtree; a move never
    // can (the service leaves such a move undone).
    if (target->HasAsParent(dragged) && !(ctrl && shift))
        return false;
    return true;
}

TNotebookService::MoveOrCopy DropOperation(bool ctrl, bool shift, bool alt) {
    TNotebookService::MoveOrCopy how;
    how.onlyChecked = false;
    how.copyImages = true;
    how.withChildren = !shift;
    how.copy = ctrl;
    how.after = alt;
    return how;
}

TTreeDragDrop::TTreeDragDrop(TMyCustomTreeView& tree) : QObject(&tree), m_tree(tree) {
    m_dragTimer.setInterval(kDragTimerMs);
    m_expandTimer.setInterval(kExpandTimerMs);
    connect(&m_dragTimer, &QTimer::timeout, this, &TTreeDragDrop::DragTimerTimer);
    connect(&m_expandTimer, &QTimer::timeout, this, &TTreeDragDrop::ExpandTimerTimer);
}

bool TTreeDragDrop::Start(TTreeNode* dragged) {
    if (!dragged || !dragged->Note())
        return false;
    m_dragged = dragged;
    m_dragTimer.start();
    m_expandTimer.start();
    return true;
}

bool TTreeDragDrop::Over(QPoint pos, Qt::KeyboardModifiers keys) {
    if (!m_dragged)
        return false;
    TTreeNode* target = m_tree.NodeAt(pos);
    if (!DropAllowed(m_dragged, target, keys & Qt::ControlModifier, keys & Qt::ShiftModifier,
                     keys & Qt::AltModifier))
        return false;
    if (target != m_tree.DropTarget())
        m_expandTimer.start(); // the rest before opening starts again
    m_tree.SetDropTarget(target);
    scrollNear(target);
    return true;
}

void TTreeDragDrop::scrollNear(TTreeNode* node) {
    // One step at a time, so that holding the mouse at an edge scrolls at a steady pace.
    if (m_lastScroll.isValid() && m_lastScroll.elapsed() < kScrollPauseMs)
        return;
    const QRect client = m_tree.viewport()->rect();
    const QModelIndex index = m_tree.IndexOf(node);
    for (const QModelIndex& near : {m_tree.indexAbove(index), m_tree.indexBelow(index)}) {
        if (!near.isValid())
            continue;
        const QRect r = m_tree.visualRect(near);
        if (!client.contains(r.topLeft()) || !client.contains(r.bottomLeft())) {
            m_tree.scrollTo(near);
            m_lastScroll.start();
            return;
        }
    }
}

TTreeNode* TTreeDragDrop::Drop(QPoint pos, Qt::KeyboardModifiers keys) {
    m_tree.SetDropTarget(nullptr);
    TTreeNode* target = m_tree.NodeAt(pos);
    const bool ctrl = keys & Qt::ControlModifier;
    const bool shift = keys & Qt::ShiftModifier;
    const bool alt = keys & Qt::AltModifier;
    if (!m_dragged || !OnDrop || !DropAllowed(m_dragged, target, ctrl, shift, alt))
        return nullptr;
    return OnDrop(m_dragged, target, DropOperation(ctrl, shift, alt));
}

void TTreeDragDrop::Leave() {
    m_tree.SetDropTarget(nullptr);
}

void TTreeDragDrop::End() {
    m_dragged = nullptr;
    m_tree.SetDropTarget(nullptr);
    m_dragTimer.stop();
    m_expandTimer.stop();
}

void TTreeDragDrop::ExpandTimerTimer() {
    TTreeNode* target = m_tree.DropTarget();
    if (!m_dragged || !target)
        return;
    if (m_tree.NodeAt(m_tree.viewport()->mapFromGlobal(QCursor::pos())) != target)
        return;
    if (target->HasChildren() && !m_tree.isExpanded(m_tree.IndexOf(target))) {
        try {
            m_tree.SetNodeExpanded(target, true);
        } catch (const std::exception&) {
            // A notebook that cannot be opened now simply stays closed.
        }
    }
}

void TTreeDragDrop::DragTimerTimer() {
    const QPoint p = m_tree.mapFromGlobal(QCursor::pos());
    const bool inside = p.x() > 0 && p.y() > 0 && p.x() < m_tree.width() && p.y() < m_tree.height();
    if (!inside && m_tree.DropTarget()) {
        m_tree.SetDropTarget(nullptr);
        m_tree.viewport()->update();
    }
}

} // namespace vlr
