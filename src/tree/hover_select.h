#pragma once
// Selecting by resting the mouse: while exactly Ctrl is held and no button is
// pressed, the cursor over the tree is a hand; resting over a node highlights
// it and selects it after a short while, and resting over a node with
// children expands it after a longer one.
#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>

namespace vlr {

class TOvTree;
class TTreeNode;

class TTreeHoverSelect : public QObject {
    Q_OBJECT
public:
    static constexpr int kHoverMs = 250;
    static constexpr int kExpandMs = 1500;

    explicit TTreeHoverSelect(TOvTree& tree);

    // True while nothing may happen (a label is edited, the tree is busy).
    std::function<bool()> blocked;
    // Select or expand a node as the user would.
    std::function<void(TTreeNode*)> select;
    std::function<void(TTreeNode*)> expand;
    // The modifier keys held right now.
    std::function<Qt::KeyboardModifiers()> modifiers;
    std::function<bool()> dragging;

    void MouseMoved(QPoint viewportPos, Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);
    // The end of a drag stops the expand timer.
    void DragEnded() { m_expand.stop(); }
    TTreeNode* Node() const { return m_node; }
    // The node is leaving the tree (or is gone already): drop the reference.
    void Forget() { m_node = nullptr; }
    void SetIntervals(int hoverMs, int expandMs);
    bool HoverPending() const { return m_hover.isActive(); }
    bool ExpandPending() const { return m_expand.isActive(); }

private:
    void hoverFired();
    void expandFired();
    void setHand(bool on);
    bool isBlocked() const { return blocked && blocked(); }

    TOvTree& m_tree;
    QTimer m_hover;
    QTimer m_expand;
    TTreeNode* m_node = nullptr;
    QPoint m_lastPos;
    bool m_hand = false;
};

} // namespace vlr
