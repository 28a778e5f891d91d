#include "tree/image_palette.h"

#include <QMouseEvent>
#include <QPainter>

namespace vlr {

TImagePalette::TImagePalette(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

void TImagePalette::SetImages(const TMyImageList& images) {
    m_images = images;
    m_hover = -1;
    updateGeometry();
    update();
}

void TImagePalette::SetCurrent(int index) {
    m_current = index;
    update();
}

QSize TImagePalette::cellSize() const {
    return QSize(m_images.Width() + 2 * kCellPadding, m_images.Height() + 2 * kCellPadding);
}

QRect TImagePalette::CellRect(int row, int column) const {
    const QSize cell = cellSize();
    return QRect(QPoint(column * cell.width(), row * cell.height()) + QPoint(2, 2), cell);
}

QSize TImagePalette::sizeHint() const {
    const QSize cell = cellSize();
    const int columns = qMin(kColumns, qMax(1, m_images.Count()));
    return QSize(columns * cell.width() + 4, qMax(1, Rows()) * cell.height() + 4);
}

int TImagePalette::cellAt(QPoint pos) const {
    const QSize cell = cellSize();
    const QPoint p = pos - QPoint(2, 2);
    if (p.x() < 0 || p.y() < 0)
        return -1;
    const int column = p.x() / cell.width();
    const int index = p.y() / cell.height() * kColumns + column;
    return column < kColumns && index < m_images.Count() ? index : -1;
}

void TImagePalette::paintEvent(QPaintEvent*) {
    QPainter p(this);
    for (int i = 0; i < m_images.Count(); ++i) {
        const QRect cell = CellRect(i / kColumns, i % kColumns);
        if (i == m_hover)
            p.fillRect(cell, palette().color(QPalette::Highlight).lighter(160));
        if (i == m_current) {
            p.setPen(palette().color(QPalette::Highlight));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
        }
        p.drawImage(cell.topLeft() + QPoint(kCellPadding, kCellPadding), m_images.image(i));
    }
}

void TImagePalette::mouseMoveEvent(QMouseEvent* event) {
    const int cell = cellAt(event->position().toPoint());
    if (cell != m_hover) {
        m_hover = cell;
        update();
    }
}

void TImagePalette::leaveEvent(QEvent*) {
    m_hover = -1;
    update();
}

void TImagePalette::mouseReleaseEvent(QMouseEvent* event) {
    const int cell = cellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell >= 0)
        emit cellClicked(cell / kColumns, cell % kColumns);
}

} // namespace vlr
