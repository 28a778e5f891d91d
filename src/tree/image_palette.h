#pragma once
// A grid of a notebook's pictures to pick one from; the current picture is
// framed. Cells are numbered row by row: row times Columns() plus column.
#include "storage/images/image_list.h"

#include <QWidget>

namespace vlr {

class TImagePalette : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumns = 8;
    static constexpr int kCellPadding = 3;

    explicit TImagePalette(QWidget* parent = nullptr);

    void SetImages(const TMyImageList& images);
    const TMyImageList& Images() const { return m_images; }
    void SetCurrent(int index);
    int Current() const { return m_current; }
    int Columns() const { return kColumns; }
    int Rows() const { return (m_images.Count() + kColumns - 1) / kColumns; }
    QRect CellRect(int row, int column) const;
    QSize sizeHint() const override;

signals:
    void cellClicked(int row, int column);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int cellAt(QPoint pos) const;
    QSize cellSize() const;

    TMyImageList m_images;
    int m_current = -1;
    int m_hover = -1;
};

} // namespace vlr
