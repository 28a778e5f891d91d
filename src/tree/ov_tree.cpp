#include "tree/ov_tree.h"

#include "editor/color_value.h"
#include "storage/images/image_list.h"
#include "storage/notebook_service.h"
#include "tree/node_delegate.h"
#include "tree/notes_model.h"
#include "tree/tree_operations.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace vlr {

TOvTree::TOvTree(QWidget* parent) : QTreeView(parent), m_delegate(new TNodeDelegate(*this)) {
    setItemDelegate(m_delegate);
    setIndentation(kIndent);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAnimated(false);
    setMouseTracking(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    header()->setStretchLastSection(false);
    connect(this, &QTreeView::expanded, this, &TOvTree::onExpanded);
    connect(this, &QTreeView::collapsed, this, &TOvTree::onCollapsed);
    applyPalette();
}

TOvTree::~TOvTree() = default;

void TOvTree::SetNotesModel(TNotesModel* model) {
    m_notes = model;
    // The view and its selection model move the selection off removed rows
    // in their own handlers: these brackets are connected first and last.
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { ++m_removing; });
    setModel(model);
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { m_removing = qMax(0, m_removing - 1); });
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &TOvTree::modelAboutToReset);
    // After the selection model's own reset, which forgets the current item.
    connect(model, &QAbstractItemModel::modelReset, this, &TOvTree::restoreSelection);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    updateColumnWidth();
    reset();
}

TTreeNode* TOvTree::NodeOf(const QModelIndex& index) const {
    return TNotesModel::NodeOf(index);
}

QModelIndex TOvTree::IndexOf(const TTreeNode* node) const {
    return m_notes ? m_notes->IndexOf(node) : QModelIndex();
}

TTreeNode* TOvTree::NodeAt(QPoint viewportPos) const {
    return NodeOf(indexAt(viewportPos));
}

TTreeNode* TOvTree::Selected() const {
    return m_frozen ? m_frozenCurrent : NodeOf(currentIndex());
}

// ---------------------------------------------------------------- settings

void TOvTree::SetDrawChildrenNumber(bool on) {
    if (on == m_drawChildrenNumber)
        return;
    m_drawChildrenNumber = on;
    viewport()->update();
}

void TOvTree::SetShowLines(bool on) {
    if (on == m_showLines)
        return;
    m_showLines = on;
    viewport()->update();
}

void TOvTree::SetHotTrack(bool on) {
    m_hotTrack = on;
    if (!on)
        updateRow(std::exchange(m_hotNode, nullptr));
}

void TOvTree::SetColor(quint32 color) {
    m_color = color;
    applyPalette();
}

void TOvTree::applyPalette() {
    QPalette p = QApplication::palette(this);
    p.setColor(QPalette::Base, colorFromValue(m_color, p));
    setPalette(p);
    viewport()->update();
}

void TOvTree::SetTreeFont(const QFont& f) {
    setFont(f);
    m_contentWidth = 0;
    updateColumnWidth();
}

void TOvTree::SetImages(const TMyImageList* images) {
    m_images = images;
    viewport()->update();
}

void TOvTree::SetStateImages(const TMyImageList* images) {
    m_stateImages = images;
    viewport()->update();
}

// ---------------------------------------------------------------- node visuals

bool TOvTree::GetNodeVisual(TTreeNode*, TTreeNodeVisual&) {
    return false;
}

TTreeNodeVisual TOvTree::NodeVisual(TTreeNode* node) {
    TTreeLook look;
    look.color = m_color;
    look.images = m_images;
    look.stateImages = m_stateImages;
    TTreeNodeVisual v = DefaultNodeVisual(*node, look);
    if (!GetNodeVisual(node, v) && OnGetNodeInfo)
        OnGetNodeInfo(this, node, v);
    return v;
}

TNodePaintState TOvTree::paintState(TTreeNode* node) const {
    TNodePaintState s;
    s.selected = NodeOf(currentIndex()) == node;
    s.dropTarget = node == m_dropTarget;
    s.focused = hasFocus();
    s.hot = m_hotTrack && node == m_hotNode;
    s.cut = node->Cut();
    s.drawChildCount = m_drawChildrenNumber;
    s.childCount = node->Count();
    return s;
}

TNodePaintPlan TOvTree::NodePaintPlan(TTreeNode* node) {
    return PlanNodePaint(NodeVisual(node), paintState(node), m_color);
}

TNodeGeometry TOvTree::NodeGeometry(TTreeNode* node) {
    const QRect r = node ? visualRect(IndexOf(node)) : QRect();
    if (r.isEmpty())
        return {};
    const TTreeNodeVisual visual = NodeVisual(node);
    return m_delegate->Geometry(*node, visual, PlanNodePaint(visual, paintState(node), m_color), r.top(),
                                r.height());
}

// ---------------------------------------------------------------- painting

void TOvTree::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    TTreeNode* node = NodeOf(index);
    if (!node)
        return;
    auto* self = const_cast<TOvTree*>(this);
    const TTreeNodeVisual visual = self->NodeVisual(node);
    const TNodePaintPlan plan = PlanNodePaint(visual, paintState(node), m_color);
    const TNodeGeometry g =
        m_delegate->PaintRow(painter, *node, visual, plan, option.rect.top(), option.rect.height());
    const int right = (g.childCount.isEmpty() ? g.highlight.right() : g.childCount.right()) + 1;
    m_contentWidth = qMax(m_contentWidth, right + horizontalScrollBar()->value());
}

void TOvTree::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    if (!m_widthPending && header()->count() > 0 && m_contentWidth > header()->sectionSize(0)) {
        m_widthPending = true;
        QMetaObject::invokeMethod(this, &TOvTree::updateColumnWidth, Qt::QueuedConnection);
    }
}

void TOvTree::updateColumnWidth() {
    m_widthPending = false;
    if (!model() || header()->count() == 0)
        return;
    const int width = qMax(viewport()->width(), m_contentWidth);
    if (header()->sectionSize(0) != width)
        header()->resizeSection(0, width);
}

void TOvTree::scrollContentsBy(int dx, int dy) {
    QTreeView::scrollContentsBy(dx, dy);
    // The dotted lines and the shifted rows are drawn whole, never moved.
    viewport()->update();
}

bool TOvTree::viewportEvent(QEvent* event) {
    const bool result = QTreeView::viewportEvent(event);
    if (event->type() == QEvent::Resize && !m_widthPending) {
        m_widthPending = true;
        QMetaObject::invokeMethod(this, &TOvTree::updateColumnWidth, Qt::QueuedConnection);
    }
    return result;
}

void TOvTree::updateRow(TTreeNode* node) {
    if (!node)
        return;
    const QRect r = visualRect(IndexOf(node));
    if (!r.isEmpty())
        viewport()->update(QRect(0, r.top(), viewport()->width(), r.height()));
}

void TOvTree::SetDropTarget(TTreeNode* node) {
    if (node == m_dropTarget)
        return;
    updateRow(std::exchange(m_dropTarget, node));
    updateRow(node);
}

void TOvTree::mouseMoveEvent(QMouseEvent* event) {
    QTreeView::mouseMoveEvent(event);
    if (!m_hotTrack)
        return;
    TTreeNode* node = NodeAt(event->position().toPoint());
    if (node != m_hotNode) {
        updateRow(std::exchange(m_hotNode, node));
        updateRow(node);
    }
}

void TOvTree::leaveEvent(QEvent* event) {
    QTreeView::leaveEvent(event);
    updateRow(std::exchange(m_hotNode, nullptr));
}

// ---------------------------------------------------------------- expanded state

void TOvTree::ShowExpanded(TTreeNode* node, bool expanded) {
    const QModelIndex index = IndexOf(node);
    if (!index.isValid() || isExpanded(index) == expanded)
        return;
    ++m_following;
    setExpanded(index, expanded);
    --m_following;
    if (!expanded) {
        TTreeNode* selected = Selected();
        if (selected && selected->HasAsParent(node))
            SelectionHiddenBy(node);
    }
}

void TOvTree::followExpanded(TTreeNode* node) {
    ShowExpanded(node, node->Expanded());
}

void TOvTree::followSubtree(TTreeNode* node) {
    std::vector<TTreeNode*> expanded;
    auto collect = [&](TTreeNode* n) {
        if (n->Expanded())
            expanded.push_back(n);
    };
    collect(node);
    ForEachDescendant(node, collect);
    if (expanded.empty())
        return;
    // Expansions are only stored until the next layout, which then runs once.
    scheduleDelayedItemsLayout();
    ++m_following;
    for (TTreeNode* n : expanded)
        setExpanded(IndexOf(n), true);
    --m_following;
}

void TOvTree::onExpanded(const QModelIndex& index) {
    TTreeNode* node = NodeOf(index);
    if (m_following || !node)
        return;
    if (!CanExpandNode(node)) {
        ++m_following;
        collapse(index);
        --m_following;
        return;
    }
    NodeExpansionChanged(node, true);
}

void TOvTree::onCollapsed(const QModelIndex& index) {
    TTreeNode* node = NodeOf(index);
    if (m_following || !node)
        return;
    NodeExpansionChanged(node, false);
    TTreeNode* selected = Selected();
    if (selected && selected->HasAsParent(node))
        SelectionHiddenBy(node);
}

void TOvTree::NodeExpansionChanged(TTreeNode*, bool) {}

bool TOvTree::CanExpandNode(TTreeNode*) {
    return true;
}

void TOvTree::SelectionHiddenBy(TTreeNode* collapsed) {
    setCurrentIndex(IndexOf(collapsed));
}

// ---------------------------------------------------------------- following the model

void TOvTree::rowsInserted(const QModelIndex& parent, int start, int end) {
    QTreeView::rowsInserted(parent, start, end);
    for (int row = start; row <= end; ++row)
        if (TTreeNode* node = NodeOf(model()->index(row, 0, parent)))
            followSubtree(node);
}

void TOvTree::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    for (int row = start; row <= end; ++row)
        if (TTreeNode* node = NodeOf(model()->index(row, 0, parent)))
            ForgetNode(node);
    QTreeView::rowsAboutToBeRemoved(parent, start, end);
}

void TOvTree::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                          const QList<int>& roles) {
    QTreeView::dataChanged(topLeft, bottomRight, roles);
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        TTreeNode* node = NodeOf(topLeft.siblingAtRow(row));
        if (!node)
            continue;
        followExpanded(node);
        updateRow(node);
    }
}

void TOvTree::modelAboutToReset() {
    m_frozenCurrent = NodeOf(currentIndex());
    m_frozenRootRow = m_frozenCurrent ? m_frozenCurrent->Root()->Index() : -1;
    m_frozen = true;
}

void TOvTree::reset() {
    QTreeView::reset();
    m_contentWidth = 0;
    QSet<const TTreeNode*> refs;
    CollectNodeRefs(refs);
    refs.remove(nullptr);
    const TNoteForest* forest = m_notes && m_notes->Service() ? &m_notes->Service()->Forest() : nullptr;
    KeepNodeRefs(forest ? NodesInForest(*forest, refs) : QSet<const TTreeNode*>());
    if (!forest)
        return;
    for (int i = 0; i < forest->RootCount(); ++i)
        followSubtree(forest->RootAt(i));
}

void TOvTree::restoreSelection() {
    if (!std::exchange(m_frozen, false))
        return;
    const TNoteForest* forest = m_notes && m_notes->Service() ? &m_notes->Service()->Forest() : nullptr;
    if (!forest)
        return;
    if (TTreeNode* keep = std::exchange(m_frozenCurrent, nullptr)) {
        ++m_restoring;
        setCurrentIndex(IndexOf(keep));
        --m_restoring;
    } else if (m_frozenRootRow >= 0 && forest->RootCount() > 0) {
        // The selected node is gone: its notebook's place takes the selection.
        ++m_removing;
        setCurrentIndex(IndexOf(forest->RootAt(qMin(m_frozenRootRow, forest->RootCount() - 1))));
        --m_removing;
    }
}

void TOvTree::ForgetNode(const TTreeNode* node) {
    auto gone = [node](TTreeNode* p) { return p && (p == node || p->HasAsParent(node)); };
    if (gone(m_hotNode))
        m_hotNode = nullptr;
    if (gone(m_dropTarget))
        m_dropTarget = nullptr;
    if (gone(m_frozenCurrent))
        m_frozenCurrent = nullptr;
}

void TOvTree::CollectNodeRefs(QSet<const TTreeNode*>& refs) const {
    refs << m_hotNode << m_dropTarget << m_frozenCurrent;
}

void TOvTree::KeepNodeRefs(const QSet<const TTreeNode*>& alive) {
    if (!alive.contains(m_hotNode))
        m_hotNode = nullptr;
    if (!alive.contains(m_dropTarget))
        m_dropTarget = nullptr;
    if (!alive.contains(m_frozenCurrent))
        m_frozenCurrent = nullptr;
}

} // namespace vlr
