#pragma once
// Rows of (caption, value) pairs laid out around the middle of the area:
// every caption ends a gap left of the middle, every value starts a gap right
// of it, whatever the width, so both columns line up on one axis.
#include <QLayout>
#include <QList>

class QWidget;

namespace vlr {

class CenteredColumnsLayout : public QLayout {
public:
    explicit CenteredColumnsLayout(QWidget* parent = nullptr);
    ~CenteredColumnsLayout() override;

    // Distance of each column from the middle.
    static constexpr int Gap = 6;

    void addRow(QWidget* caption, QWidget* value);

    // Items added one by one pair up in order: caption, value, caption...
    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;
    Qt::Orientations expandingDirections() const override { return {}; }

private:
    // A slot is empty once its widget was taken out of the layout.
    struct Row {
        QLayoutItem* caption = nullptr;
        QLayoutItem* value = nullptr;
    };
    // The row and slot of the index-th item, counting filled slots only.
    QLayoutItem** slotAt(int index);
    int rowHeight(const Row& row) const;
    // Height of all rows with their spacing and the margins.
    int totalHeight() const;
    // The widest caption: the middle never moves closer to the edge than that.
    int captionWidth() const;

    QList<Row> m_rows;
};

} // namespace vlr
