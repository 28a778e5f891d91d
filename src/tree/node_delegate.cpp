#include "tree/node_delegate.h"

#include "editor/color_value.h"
#include "editor/richedit_types.h"
#include "storage/images/image_list.h"
#include "storage/note_forest.h"
#include "tree/ov_tree.h"

#include <QBitmap>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace vlr {

namespace {
constexpr int kIndent = TOvTree::kIndent;
} // namespace

TNodeDelegate::TNodeDelegate(TOvTree& tree) : QStyledItemDelegate(&tree), m_tree(tree) {}

bool TNodeDelegate::eventFilter(QObject* editor, QEvent* event) {
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (key && isTreeKey && isTreeKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        if (event->type() == QEvent::KeyPress && onTreeKey)
            onTreeKey(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}

QFont TNodeDelegate::LabelFont(int style) const {
    QFont f = m_tree.font();
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
    return f;
}

QSize TNodeDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    const QFontMetrics fm(LabelFont(fsBold));
    const int images = m_tree.Images() ? m_tree.Images()->Height() : TMyImageList::kDefaultSize;
    return QSize(kIndent, qMax(fm.height() + 4, images + 2));
}

int TNodeDelegate::contentLeft(const TTreeNode& node) const {
    // Roots carry buttons too, so every level starts one indent further in.
    return -m_tree.horizontalScrollBar()->value() + node.Level() * kIndent + 2 + kIndent;
}

TNodeGeometry TNodeDelegate::Geometry(const TTreeNode& node, const TTreeNodeVisual& visual,
                                      const TNodePaintPlan& plan, int rowTop, int rowHeight) const {
    TNodeGeometry g;
    const int clientWidth = m_tree.viewport()->width();
    const int x0 = -m_tree.horizontalScrollBar()->value();
    g.row = QRect(0, rowTop, clientWidth, rowHeight);
    const int middle = rowTop + rowHeight / 2;
    if (node.HasChildren()) {
        const int columnLeft = x0 + node.Level() * kIndent;
        const int left = columnLeft + (kIndent - kButtonSize) / 2;
        g.button = QRect(left, middle - 4, kButtonSize, kButtonSize);
    }
    int x = contentLeft(node);
    auto place = [&](const TMyImageList* list, int index, QRect& rect) {
        if (index < 0 || !list)
            return;
        rect = QRect(x, rowTop + (rowHeight - list->Height()) / 2, list->Width(), list->Height());
        x += list->Width() + kImageGap;
    };
    place(visual.Images, plan.imageIndex, g.image);
    place(visual.StateImages, plan.stateIndex, g.stateImage);

    const QFontMetrics fm(LabelFont(plan.fontStyle));
    const int width = fm.horizontalAdvance(node.Text());
    g.label = QRect(x, rowTop + (rowHeight - fm.height()) / 2, width, fm.height());
    g.labelShown = g.label.left() + width > 0 && g.label.left() < clientWidth;
    g.highlight = QRect(g.label.left() - 2, g.label.top(), width + 6, g.label.height());
    if (!plan.childCount.isEmpty())
        g.childCount = QRect(g.label.left() + width + kCountGap, rowTop, kCountWidth, rowHeight);
    return g;
}

QBrush TNodeDelegate::dots(quint32 color) const {
    if (!m_pattern) {
        QBitmap bits(8, 8);
        bits.clear();
        QPainter p(&bits);
        p.setPen(Qt::color1);
        for (int y = 0; y < 8; ++y)
            for (int x = (y & 1); x < 8; x += 2)
                p.drawPoint(x, y);
        p.end();
        m_pattern = bits;
    }
    return QBrush(colorFromValue(color, m_tree.palette()), *m_pattern);
}

void TNodeDelegate::paintLines(QPainter* painter, const TTreeNode& node, const QRect& row) const {
    const QBrush brush = dots(kSysGrayText);
    const int x0 = -m_tree.horizontalScrollBar()->value();
    const int middle = row.top() + row.height() / 2;
    auto column = [&](int level) { return x0 + level * kIndent + kIndent / 2; };
    const int x = column(node.Level());
    // Only the very first node of the tree has nothing above it to connect to.
    const bool first = node.Level() == 0 && node.Index() == 0;
    const bool last = node.NextSibling() == nullptr;
    const int top = first ? middle : row.top();
    const int bottom = last ? middle : row.bottom();
    painter->fillRect(QRect(x, top, 1, bottom - top + 1), brush);
    painter->fillRect(QRect(x, middle, contentLeft(node) - x - 1, 1), brush);
    for (const TTreeNode* a = node.Parent(); a && a->Level() > 0; a = a->Parent())
        if (a->NextSibling())
            painter->fillRect(QRect(column(a->Level()), row.top(), 1, row.height()), brush);
}

void TNodeDelegate::paintButton(QPainter* painter, const TTreeNode& node, const QRect& b) const {
    const QPalette& pal = m_tree.palette();
    const QColor frame = colorFromValue(kSysGrayText, pal);
    const QColor stroke = colorFromValue(kSysWindowText, pal);
    painter->fillRect(b, colorFromValue(m_tree.Color(), pal));
    painter->fillRect(QRect(b.left(), b.top(), kButtonSize, 1), frame);
    painter->fillRect(QRect(b.left(), b.bottom(), kButtonSize, 1), frame);
    painter->fillRect(QRect(b.left(), b.top(), 1, kButtonSize), frame);
    painter->fillRect(QRect(b.right(), b.top(), 1, kButtonSize), frame);
    painter->fillRect(QRect(b.left() + 2, b.top() + 4, 5, 1), stroke);
    if (!m_tree.isExpanded(m_tree.IndexOf(&node)))
        painter->fillRect(QRect(b.left() + 4, b.top() + 2, 1, 5), stroke);
}

TNodeGeometry TNodeDelegate::PaintRow(QPainter* painter, const TTreeNode& node, const TTreeNodeVisual& visual,
                                      const TNodePaintPlan& plan, int rowTop, int rowHeight) const {
    const QPalette& pal = m_tree.palette();
    const TNodeGeometry g = Geometry(node, visual, plan, rowTop, rowHeight);
    if (plan.rowFill)
        painter->fillRect(g.row, colorFromValue(*plan.rowFill, pal));
    if (m_tree.ShowLines())
        paintLines(painter, node, g.row);
    if (!g.button.isEmpty())
        paintButton(painter, node, g.button);

    const int clientWidth = g.row.width();
    auto drawImage = [&](const TMyImageList* list, int index, const QRect& rect) {
        if (rect.isEmpty() || rect.right() < 0 || rect.left() >= clientWidth)
            return;
        painter->save();
        if (plan.dimImages)
            painter->setOpacity(0.5);
        painter->drawImage(rect.topLeft(), list->image(index));
        painter->restore();
    };
    drawImage(visual.Images, plan.imageIndex, g.image);
    drawImage(visual.StateImages, plan.stateIndex, g.stateImage);
    if (!g.labelShown)
        return g;

    painter->fillRect(g.highlight, colorFromValue(plan.boxFill, pal));
    painter->setFont(LabelFont(plan.fontStyle));
    painter->setPen(colorFromValue(plan.textColor, pal));
    painter->drawText(g.label.translated(0, 1), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      node.Text());
    if (plan.focusRect) {
        // A dotted frame in the colour of the text on the highlight.
        const QBrush frame = dots(plan.textColor);
        const QRect f = g.highlight;
        painter->fillRect(QRect(f.left(), f.top(), f.width(), 1), frame);
        painter->fillRect(QRect(f.left(), f.bottom(), f.width(), 1), frame);
        painter->fillRect(QRect(f.left(), f.top(), 1, f.height()), frame);
        painter->fillRect(QRect(f.right(), f.top(), 1, f.height()), frame);
    }
    if (!g.childCount.isEmpty()) {
        const QFont regular = LabelFont(0);
        const QFontMetrics fm(regular);
        const int width = qMin(fm.horizontalAdvance(plan.childCount), kCountWidth);
        const QRect text(g.childCount.left(), g.childCount.top() + (rowHeight - fm.height()) / 2, width,
                         fm.height());
        // The count sits on the row's own background, so a coloured row
        // shows no patch of the tree's colour behind it.
        painter->fillRect(text, colorFromValue(plan.backColor, pal));
        painter->setFont(regular);
        painter->setPen(colorFromValue(kSysGrayText, pal));
        painter->drawText(g.childCount, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          plan.childCount);
    }
    return g;
}

} // namespace vlr
