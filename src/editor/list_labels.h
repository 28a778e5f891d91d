#pragma once
// Numbered list labels as the document means them, painted over Qt's own
// where the two differ (Qt 6.4 lists count from 1 whatever start is kept).
#include <QPalette>
#include <QRectF>
#include <QString>

class QPainter;
class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace vlr {

// The label Qt's layout draws for a numbered list paragraph; empty for
// bullets (drawn as shapes) and paragraphs outside lists.
QString qtListLabel(const QTextBlock& block);

// The label the control shows for the paragraph: the document's own number
// for numbered lists, otherwise what Qt draws.
QString shownListLabel(const QTextBlock& block);

// What the label painter needs from the view.
struct TListLabelView {
    QRectF clip;                  // the exposed area, document coordinates
    QPalette palette;             // with the colour group the view paints in
    const QTextCursor* selection; // its selected range is highlighted, as Qt does
};

// Paints shownListLabel over qtListLabel for every list paragraph in the
// clip whose two labels differ. The painter is in document coordinates and
// has just drawn the document.
void paintListLabels(QPainter& painter, const QTextDocument* doc, const TListLabelView& view);

} // namespace vlr
