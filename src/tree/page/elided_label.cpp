#include "tree/page/elided_label.h"

#include <QEvent>
#include <QMouseEvent>

#include <algorithm>

namespace vlr {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void ElidedLabel::setFullText(const QString& text) {
    m_fullText = text;
    updateShownText();
    updateGeometry();
}

QSize ElidedLabel::minimumSizeHint() const {
    // Any width will do: the text gives way.
    return {fontMetrics().horizontalAdvance(QStringLiteral("…")), QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const {
    const QMargins m = contentsMargins();
    return {fontMetrics().horizontalAdvance(m_fullText) + m.left() + m.right() + 2 * margin(),
            QLabel::sizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    updateShownText();
}

void ElidedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateShownText();
}

void ElidedLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mousePressEvent(event);
}

void ElidedLabel::updateShownText() {
    const int width = contentsRect().width() - 2 * margin();
    setText(fontMetrics().elidedText(m_fullText, Qt::ElideMiddle, std::max(0, width)));
}

} // namespace vlr
