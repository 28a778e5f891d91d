#pragma once
// Dragging notes inside the notes tree: within a notebook and between
// notebooks, moving or (with Ctrl) copying, without children (Shift), after
// the target on its level (Alt). The tree reports the drag's steps; this
// class decides what may be dropped where, keeps the drop target, scrolls
// near the edges, opens collapsed targets the mouse rests on, and hands the
// drop to whoever moves notes.
#include "storage/notebook_service.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>

namespace vlr {

class TMyCustomTreeView;

// Whether dragged may be dropped on target with these keys held.
bool DropAllowed(const TTreeNode* dragged, const TTreeNode* target, bool ctrl, bool shift, bool alt);

// How a drop with these keys moves or copies.
TNotebookService::MoveOrCopy DropOperation(bool ctrl, bool shift, bool alt);

class TTreeDragDrop : public QObject {
    Q_OBJECT
public:
    static constexpr int kDragTimerMs = 200;
    static constexpr int kExpandTimerMs = 1500;
    static constexpr int kScrollPauseMs = 100;

    explicit TTreeDragDrop(TMyCustomTreeView& tree);

    // Moves or copies the note; returns the resulting node (none: nothing changed).
    std::function<TTreeNode*(TTreeNode* source, TTreeNode* target, const TNotebookService::MoveOrCopy& how)>
        OnDrop;

    // tvNotesStartDrag: the dragged node is the selection. Roots are not dragged.
    bool Start(TTreeNode* dragged);
    // tvNotesDragOver: true when a drop would be accepted here.
    bool Over(QPoint viewportPos, Qt::KeyboardModifiers keys);
    // tvNotesDragDrop.
    TTreeNode* Drop(QPoint viewportPos, Qt::KeyboardModifiers keys);
    // The mouse left the tree.
    void Leave();
    // tvNotesEndDrag.
    void End();

    TTreeNode* Dragged() const { return m_dragged; }
    QTimer& DragTimer() { return m_dragTimer; }
    QTimer& ExpandTimer() { return m_expandTimer; }
    // ExpandTimerTimer and DragTimerTimer, for the timers and for tests.
    void ExpandTimerTimer();
    void DragTimerTimer();

private:
    void scrollNear(TTreeNode* node);

    TMyCustomTreeView& m_tree;
    TTreeNode* m_dragged = nullptr;
    QTimer m_dragTimer;
    QTimer m_expandTimer;
    QElapsedTimer m_lastScroll;
};

} // namespace vlr
