#pragma once
// TOvTree: a tree view over the notes model whose nodes the program draws
// itself. Before a node is drawn its display record is filled with the
// control's defaults and handed to GetNodeVisual, or else to OnGetNodeInfo.
// The view shows each node's stored expanded state and follows it when the
// forest changes it; expansions made in the view are reported through
// NodeExpansionChanged.
#include "tree/node_visual.h"

#include <QFont>
#include <QSet>
#include <QTreeView>

#include <functional>

namespace vlr {

class TMyImageList;
class TNodeDelegate;
class TNotesModel;
class TTreeNode;
struct TNodeGeometry;

class TOvTree : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kIndent = 19;

    explicit TOvTree(QWidget* parent = nullptr);
    ~TOvTree() override;

    // Draw the number of direct children behind a node's label.
    bool DrawChildrenNumber() const { return m_drawChildrenNumber; }
    void SetDrawChildrenNumber(bool on);
    // Raised for a node whose visual GetNodeVisual did not fill.
    std::function<void(TOvTree* Sender, TTreeNode* Node, TTreeNodeVisual& Info)> OnGetNodeInfo;
    // Fills Info for the node; the base fills nothing and returns false.
    virtual bool GetNodeVisual(TTreeNode* Node, TTreeNodeVisual& Info);
    // The display record a node is drawn with.
    TTreeNodeVisual NodeVisual(TTreeNode* node);

    bool ShowLines() const { return m_showLines; }
    void SetShowLines(bool on);
    bool HotTrack() const { return m_hotTrack; }
    void SetHotTrack(bool on);
    // The control's colour as a colour value.
    quint32 Color() const { return m_color; }
    void SetColor(quint32 color);
    QFont TreeFont() const { return font(); }
    void SetTreeFont(const QFont& font);
    // The control's own pictures (for nodes without Data) and state pictures.
    const TMyImageList* Images() const { return m_images; }
    void SetImages(const TMyImageList* images);
    const TMyImageList* StateImages() const { return m_stateImages; }
    void SetStateImages(const TMyImageList* images);

    void SetNotesModel(TNotesModel* model);
    TNotesModel* NotesModel() const { return m_notes; }
    TTreeNode* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const TTreeNode* node) const;
    TTreeNode* NodeAt(QPoint viewportPos) const;
    TTreeNode* Selected() const;
    // Where the parts of a shown node lie in the viewport; an empty row when
    // the node is not shown.
    TNodeGeometry NodeGeometry(TTreeNode* node);
    // The paint decisions for a node as it is now.
    TNodePaintPlan NodePaintPlan(TTreeNode* node);

    // The drop-target highlight (hover selection, search matches, dragging).
    TTreeNode* DropTarget() const { return m_dropTarget; }
    void SetDropTarget(TTreeNode* node);
    TTreeNode* HotNode() const { return m_hotNode; }

    // The painter of the rows; it also filters the label editor's keys.
    TNodeDelegate* Delegate() const { return m_delegate; }

    // The view's own state of a node, without asking or reporting anything.
    void ShowExpanded(TTreeNode* node, bool expanded);

protected:
    // An expansion the user (or the view itself) made; the base does nothing.
    virtual void NodeExpansionChanged(TTreeNode* node, bool expanded);
    // Asked before an expansion the user made takes effect.
    virtual bool CanExpandNode(TTreeNode* node);
    // The selection became hidden by a collapse: it moves to the collapsed node.
    virtual void SelectionHiddenBy(TTreeNode* collapsed);
    // A node leaves the tree with its subtree: forget every pointer to them.
    virtual void ForgetNode(const TTreeNode* node);
    // Node pointers kept by the view; after a reset of the model the ones no
    // longer in the forest are handed to KeepNodeRefs as gone.
    virtual void CollectNodeRefs(QSet<const TTreeNode*>& refs) const;
    virtual void KeepNodeRefs(const QSet<const TTreeNode*>& alive);

    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void reset() override;

    // True while the view follows the forest's state rather than the user.
    bool FollowingNodes() const { return m_following > 0; }
    // True while the selection is put back after a reset of the model.
    bool RestoringSelection() const { return m_restoring > 0; }
    // True while the selection moves off a node that is going away.
    bool SelectionLeavingRemovedNode() const { return m_removing > 0; }

private:
    void onExpanded(const QModelIndex& index);
    void onCollapsed(const QModelIndex& index);
    void modelAboutToReset();
    void restoreSelection();
    void followExpanded(TTreeNode* node);
    void followSubtree(TTreeNode* node);
    void followMoved(const QModelIndex& parent, int start, int end);
    void updateRow(TTreeNode* node);
    void updateColumnWidth();
    void applyPalette();
    TNodePaintState paintState(TTreeNode* node) const;

    TNodeDelegate* m_delegate;
    TNotesModel* m_notes = nullptr;
    bool m_drawChildrenNumber = true;
    bool m_showLines = true;
    bool m_hotTrack = false;
    quint32 m_color = 0x80000005;
    const TMyImageList* m_images = nullptr;
    const TMyImageList* m_stateImages = nullptr;
    TTreeNode* m_dropTarget = nullptr;
    TTreeNode* m_hotNode = nullptr;
    int m_following = 0;
    // Across a reset of the model (a bracketed bulk change of the forest) the
    // selection is kept here: the model's indexes are not to be used then.
    bool m_frozen = false;
    TTreeNode* m_frozenCurrent = nullptr;
    int m_frozenRootRow = -1;
    int m_restoring = 0;
    int m_removing = 0;
    // The widest row painted so far, for the horizontal scroll range.
    mutable int m_contentWidth = 0;
    mutable bool m_widthPending = false;
};

} // namespace vlr
