#include "tree/page/centered_columns_layout.h"

#include <QWidget>
#include <QWidgetItem>

#include <algorithm>

namespace vlr {

CenteredColumnsLayout::CenteredColumnsLayout(QWidget* parent) : QLayout(parent) {}

CenteredColumnsLayout::~CenteredColumnsLayout() {
    for (const Row& row : std::as_const(m_rows)) {
        delete row.caption;
        delete row.value;
    }
}

void CenteredColumnsLayout::addRow(QWidget* caption, QWidget* value) {
    addChildWidget(caption);
    addChildWidget(value);
    m_rows.append(Row{new QWidgetItem(caption), new QWidgetItem(value)});
    invalidate();
}

void CenteredColumnsLayout::addItem(QLayoutItem* item) {
    if (!m_rows.isEmpty() && m_rows.back().caption && !m_rows.back().value)
        m_rows.back().value = item;
    else
        m_rows.append(Row{item, nullptr});
    invalidate();
}

QLayoutItem** CenteredColumnsLayout::slotAt(int index) {
    if (index < 0)
        return nullptr;
    for (Row& row : m_rows) {
        for (QLayoutItem** slot : {&row.caption, &row.value}) {
            if (*slot && index-- == 0)
                return slot;
        }
    }
    return nullptr;
}

QLayoutItem* CenteredColumnsLayout::itemAt(int index) const {
    QLayoutItem** slot = const_cast<CenteredColumnsLayout*>(this)->slotAt(index);
    return slot ? *slot : nullptr;
}

QLayoutItem* CenteredColumnsLayout::takeAt(int index) {
    QLayoutItem** slot = slotAt(index);
    if (!slot)
        return nullptr;
    QLayoutItem* item = *slot;
    *slot = nullptr;
    m_rows.removeIf([](const Row& row) { return !row.caption && !row.value; });
    invalidate();
    return item;
}

int CenteredColumnsLayout::count() const {
    int n = 0;
    for (const Row& row : m_rows)
        n += (row.caption ? 1 : 0) + (row.value ? 1 : 0);
    return n;
}

int CenteredColumnsLayout::rowHeight(const Row& row) const {
    int height = 0;
    for (const QLayoutItem* item : {row.caption, row.value}) {
        if (item && !item->isEmpty())
            height = std::max(height, item->sizeHint().height());
    }
    return height;
}

int CenteredColumnsLayout::totalHeight() const {
    const QMargins m = contentsMargins();
    int height = m.top() + m.bottom();
    int shown = 0;
    for (const Row& row : m_rows) {
        const int h = rowHeight(row);
        if (h > 0) {
            height += h;
            ++shown;
        }
    }
    return height + std::max(0, shown - 1) * std::max(0, spacing());
}

int CenteredColumnsLayout::captionWidth() const {
    int width = 0;
    for (const Row& row : m_rows) {
        if (row.caption && !row.caption->isEmpty())
            width = std::max(width, row.caption->sizeHint().width());
    }
    return width;
}

QSize CenteredColumnsLayout::minimumSize() const {
    // Captions must stay whole; values may be cut or elided.
    const QMargins m = contentsMargins();
    return {m.left() + m.right() + 2 * (captionWidth() + Gap), totalHeight()};
}

QSize CenteredColumnsLayout::sizeHint() const {
    int valueWidth = 0;
    for (const Row& row : m_rows) {
        if (row.value && !row.value->isEmpty())
            valueWidth = std::max(valueWidth, row.value->sizeHint().width());
    }
    const QMargins m = contentsMargins();
    return {m.left() + m.right() + 2 * (std::max(captionWidth(), valueWidth) + Gap), totalHeight()};
}

void CenteredColumnsLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QRect area = contentsRect();
    const int middle = area.left() + area.width() / 2;
    const int captionLeft = area.left();
    const int valueLeft = middle + Gap;
    const int valueWidth = std::max(0, area.right() + 1 - valueLeft);
    const int rowSpacing = std::max(0, spacing());
    int y = area.top();
    for (const Row& row : std::as_const(m_rows)) {
        const int h = rowHeight(row);
        if (h <= 0)
            continue;
        if (row.caption)
            row.caption->setGeometry(QRect(captionLeft, y, std::max(0, middle - Gap - captionLeft), h));
        if (row.value)
            row.value->setGeometry(QRect(valueLeft, y, valueWidth, h));
        y += h + rowSpacing;
    }
}

} // namespace vlr
