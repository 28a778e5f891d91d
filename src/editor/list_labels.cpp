#include "editor/list_labels.h"

#include "rtf/list_numbers.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QTextTable>

namespace vlr {

namespace {

bool isNumbered(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListDecimal:
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman:
        return true;
    default:
        return false;
    }
}

const QTextList* numberedList(const QTextBlock& block) {
    const QTextList* list = block.textList();
    return list && isNumbered(list->format().style()) ? list : nullptr;
}

// What lies under a label: the table cell's or frame's background, or the view's.
QBrush backgroundAt(const QTextDocument* doc, const QTextBlock& block, const QPalette& palette) {
    for (QTextFrame* f = doc->frameAt(block.position()); f; f = f->parentFrame()) {
        if (auto* table = qobject_cast<QTextTable*>(f)) {
            const QBrush cell = table->cellAt(block.position()).format().background();
            if (cell.style() != Qt::NoBrush)
                return cell;
        }
        const QBrush frame = f->frameFormat().background();
        if (frame.style() != Qt::NoBrush)
            return frame;
    }
    return palette.base();
}

// The first block whose paragraph reaches into the clip.
QTextBlock firstBlockIn(const QTextDocument* doc, const QRectF& clip) {
    auto* layout = doc->documentLayout();
    const int pos = layout->hitTest(clip.topLeft(), Qt::FuzzyHit);
    QTextBlock b = doc->findBlock(qMax(0, pos));
    if (!b.isValid())
        b = doc->begin();
    // Cells of one table row lie side by side: an earlier block may still show.
    while (b.previous().isValid() && layout->blockBoundingRect(b.previous()).bottom() >= clip.top())
        b = b.previous();
    return b;
}

void paintLabel(QPainter& painter, const QTextDocument* doc, const QTextBlock& block,
                const TListLabelView& view, const QString& shown, const QString& drawn) {
    QTextLayout* tl = block.layout();
    if (!tl || tl->lineCount() == 0)
        return;
    auto* docLayout = doc->documentLayout();
    QPaintDevice* device = docLayout->paintDevice();
    const QTextCharFormat format = QTextCursor(block).charFormat();
    QFont font = format.font();
    if (device)
        font = QFont(font, device);
    const QFontMetrics metrics(font);

    // The label's place as Qt's layout computes it: one space before the
    // first line's text, on the first line.
    const QTextLine first = tl->lineAt(0);
    const QRectF textRect = first.naturalTextRect();
    const Qt::LayoutDirection dir = block.textDirection();
    QPointF pos = docLayout->blockBoundingRect(block).topLeft().toPoint() + textRect.topLeft().toPoint();
    if (dir == Qt::RightToLeft)
        pos.rx() += textRect.width();
    const qreal space = metrics.horizontalAdvance(QLatin1Char(' '));
    auto labelRect = [&](const QString& text) {
        const qreal width = metrics.horizontalAdvance(text);
        const qreal x = dir == Qt::RightToLeft ? pos.x() + space : pos.x() - space - width;
        // Centred on the font's height as Qt does it, whole pixels halved first.
        const qreal y = pos.y() + metrics.height() / 2 - metrics.height() / 2.0;
        return QRectF(x, y, width, metrics.height());
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Qt's label goes, with a pixel each side for its antialiased edges and
    // the whole height of the line.
    const QRectF qtRect = labelRect(drawn);
    painter.fillRect(QRectF(qtRect.left() - 1, qtRect.top(), qtRect.width() + 2,
                            qMax<qreal>(qtRect.height(), first.height())),
                     backgroundAt(doc, block, view.palette));
    const QRectF r = labelRect(shown);
    const QTextCursor* sel = view.selection;
    const bool selected = sel && sel->hasSelection() && sel->selectionStart() <= block.position() &&
                          sel->selectionEnd() > block.position();
    QBrush pen = format.foreground();
    if (selected) {
        painter.fillRect(r, view.palette.highlight());
        pen = view.palette.highlightedText();
    } else if (pen.style() == Qt::NoBrush) {
        pen = view.palette.text();
    }
    painter.setPen(QPen(pen, 0));
    QTextLayout label(shown, font, device);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(dir);
    label.setTextOption(option);
    label.beginLayout();
    QTextLine line = label.createLine();
    if (line.isValid())
        line.setLeadingIncluded(true);
    label.endLayout();
    label.draw(&painter, QPointF(r.left(), pos.y()));
    painter.restore();
}

} // namespace

QString qtListLabel(const QTextBlock& block) {
    const QTextList* list = numberedList(block);
    return list ? list->itemText(block) : QString();
}

QString shownListLabel(const QTextBlock& block) {
    return numberedList(block) ? rtf::listItemLabel(block) : qtListLabel(block);
}

void paintListLabels(QPainter& painter, const QTextDocument* doc, const TListLabelView& view) {
    if (!doc || doc->isEmpty())
        return;
    auto* layout = doc->documentLayout();
    const QTextFrame* root = doc->rootFrame();
    for (QTextBlock b = firstBlockIn(doc, view.clip); b.isValid(); b = b.next()) {
        if (!b.isVisible())
            continue;
        const QRectF bounds = layout->blockBoundingRect(b);
        if (bounds.top() > view.clip.bottom()) {
            if (doc->frameAt(b.position()) == root)
                break; // below the clip; only cells of one row may come back up
            continue;
        }
        if (bounds.bottom() < view.clip.top() || !numberedList(b))
            continue;
        const QString shown = shownListLabel(b);
        const QString drawn = qtListLabel(b);
        if (shown != drawn)
            paintLabel(painter, doc, b, view, shown, drawn);
    }
}

} // namespace vlr
