#pragma once
// A label for one long line, such as a path: the text is shortened in the
// middle to the label's width, so both the start and the end stay readable,
// and a click is reported so that the whole text can be offered for copying.
#include <QLabel>

namespace vlr {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return m_fullText; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void updateShownText();

    QString m_fullText;
};

} // namespace vlr
