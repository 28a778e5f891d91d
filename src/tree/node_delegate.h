#pragma once
// Paints one row of the notes tree the way the program draws its nodes: the
// row background, dotted connecting lines, the expand button, the pictures,
// the label box and the number of children. Where each part lies is worked
// out once (TNodeGeometry) for painting and for hit tests alike.
#include "tree/node_visual.h"

#include <QBitmap>
#include <QBrush>
#include <QRect>
#include <QStyledItemDelegate>

#include <functional>
#include <optional>

namespace vlr {

class TOvTree;
class TTreeNode;

struct TNodeGeometry {
    QRect row;               // the whole row in viewport coordinates
    QRect button;            // the 9 by 9 expand button; empty without children
    QRect image;             // the picture; empty when none is drawn
    QRect stateImage;        // the state picture; empty when none is drawn
    QRect label;             // the measured label text
    QRect highlight;         // the label box widened 2 left and 4 right
    QRect childCount;        // where the number of children is written; empty when none
    bool labelShown = false; // false when the label lies wholly outside the client area
};

class TNodeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kButtonSize = 9;
    static constexpr int kImageGap = 4;
    static constexpr int kCountGap = 10;
    static constexpr int kCountWidth = 50;

    explicit TNodeDelegate(TOvTree& tree);

    // Row height for the tree's font and the pictures of its notebooks.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Rows are painted whole by paintRow.
    void paint(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override {}

    TNodeGeometry Geometry(const TTreeNode& node, const TTreeNodeVisual& visual, const TNodePaintPlan& plan,
                           int rowTop, int rowHeight) const;
    // Returns where the parts were drawn.
    TNodeGeometry PaintRow(QPainter* painter, const TTreeNode& node, const TTreeNodeVisual& visual,
                           const TNodePaintPlan& plan, int rowTop, int rowHeight) const;

    // Keys the tree itself answers while a label is edited: isTreeKey picks
    // them, onTreeKey handles them; the label editor never sees them.
    std::function<bool(const QKeyEvent*)> isTreeKey;
    std::function<void(const QKeyEvent*)> onTreeKey;

    // The label's font for a title style.
    QFont LabelFont(int style) const;

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    int contentLeft(const TTreeNode& node) const;
    void paintLines(QPainter* painter, const TTreeNode& node, const QRect& row) const;
    void paintButton(QPainter* painter, const TTreeNode& node, const QRect& button) const;
    // A brush of the 8 by 8 pattern (alternating pixels) in a colour.
    QBrush dots(quint32 color) const;

    TOvTree& m_tree;
    // Made on first paint.
    mutable std::optional<QBitmap> m_pattern;
};

} // namespace vlr
