#pragma once
// The drawing state that Windows metafiles change record by record (mapping
// of coordinates, selected pen, brush and font, colours, the saved states
// and the current path) and the drawing of their shapes onto an image.
// Both the 16-bit and the enhanced metafile players drive it.
#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QTransform>

#include "rtf/metafile_player.h"

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace vlr::rtf {

// A pen, brush or font created by a record; other objects only hold their slot.
struct MetafileObject {
    enum Kind { Other, Pen, Brush, Font } kind = Other;
    QPen pen;
    QBrush brush;
    QFont font;
    int fontHeight = 0; // logical units: negative for the character height, positive for the cell
    int escapement = 0; // tenths of a degree, counterclockwise
    int charset = 0;
};

// A COLORREF: 0x00bbggrr.
QColor colorRef(quint32 c);
// Objects as the create records describe them (LOGPEN, LOGBRUSH, LOGFONT).
MetafileObject makePen(quint32 style, qreal width, quint32 color);
MetafileObject makeBrush(quint32 style, quint32 color, quint32 hatch, const QImage& pattern = {});
MetafileObject makeFont(int height, int escapement, int weight, bool italic, bool underline, bool strike,
                        int charset, const QString& face);

class MetafileCanvas;

// Plays records with a canvas that shows frame on a white image of the size
// wanted (made smaller to stay within the limits); the image is kept only
// when something was drawn.
PlayedMetafile playOnCanvas(QSizeF wanted, qint64 maxPixels, const QRectF& frame,
                            const std::function<void(MetafileCanvas&)>& play);

class MetafileCanvas {
public:
    enum ArcKind { ArcOnly, PieSlice, ChordSlice };

    // Draws onto image, which shows the rectangle frame of device units.
    MetafileCanvas(QImage& image, const QRectF& frame);
    ~MetafileCanvas();

    // Coordinates: world transform, then window to viewport by the map mode,
    // then the frame onto the image.
    void setMapMode(int mode);
    void setWindowOrg(QPointF p);
    void setWindowExt(QSizeF s);
    void setViewportOrg(QPointF p);
    void setViewportExt(QSizeF s);
    void setDevicePixelsPerMm(qreal px) { pxPerMm_ = px; }
    void setWorldTransform(const QTransform& t);
    // mode 1 identity, 2 t before the current one, 3 after it, 4 replaces it.
    void modifyWorldTransform(const QTransform& t, int mode);
    void saveDC();
    void restoreDC(int which);

    // Objects: a table of slots; a 16-bit metafile takes the lowest free one.
    void setObjectSlots(int count);
    void addObject(MetafileObject object);
    void putObject(quint32 index, MetafileObject object);
    void selectObject(quint32 index); // the high bit selects a stock object
    void deleteObject(quint32 index);

    void setTextColor(QColor c) { s_.textColor = c; }
    void setBkColor(QColor c) { s_.bkColor = c; }
    void setBkMode(int mode) { s_.opaque = mode == 2; }
    void setPolyFillMode(int mode) { s_.fill = mode == 2 ? Qt::WindingFill : Qt::OddEvenFill; }
    void setTextAlign(int align) { s_.textAlign = align; }

    // Shapes in logical coordinates; inside a path they only add to it.
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(const QPolygonF& points, bool fromCurrent);
    void polygon(const QPolygonF& points);
    void polyPolygon(const std::vector<QPolygonF>& polygons, bool closed);
    void polyBezier(const QPolygonF& points, bool fromCurrent);
    void rectangle(const QRectF& r);
    void roundRect(const QRectF& r, QSizeF corner);
    void ellipse(const QRectF& r);
    void arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind);
    // ETO_OPAQUE (2) fills the rectangle with the background colour first.
    void text(QPointF at, const QString& text, int options, const QRectF& rect);
    // source in the bitmap's pixels, top-down.
    void bitmap(const QRectF& dest, const QRectF& source, const QImage& image, quint32 rop);
    void patternFill(const QRectF& dest, quint32 rop);

    void beginPath();
    void endPath() {}
    void closeFigure();
    void abortPath() { path_.reset(); }
    void fillPath() { drawPath(false, true); }
    void strokePath() { drawPath(true, false); }
    void strokeAndFillPath() { drawPath(true, true); }

    int fontCharset() const { return s_.font.charset; }

    // How many shapes, texts and bitmaps were drawn.
    int shapes() const { return shapes_; }
    int bitmaps() const { return bitmaps_; }

private:
    struct State {
        QPen pen{Qt::black};
        QBrush brush{Qt::white};
        MetafileObject font;
        QColor textColor{Qt::black}, bkColor{Qt::white};
        bool opaque = true;
        Qt::FillRule fill = Qt::OddEvenFill;
        int textAlign = 0;
        int mapMode = 1;
        QPointF winOrg, vpOrg;
        QSizeF winExt{1, 1}, vpExt{1, 1};
        QTransform world;
        QPointF current;
    };

    QTransform pageTransform() const;
    QTransform fullTransform() const;
    bool sane(const QRectF& logical) const;
    void paint(const QPainterPath& shape, bool stroke, bool fill);
    void drawPath(bool stroke, bool fill);
    MetafileObject stockObject(quint32 n) const;

    QImage& image_;
    QPainter painter_;
    QTransform frame_;
    qreal pxPerMm_ = 96 / 25.4;
    State s_;
    std::vector<State> saved_;
    std::vector<std::unique_ptr<MetafileObject>> objects_;
    std::set<int> free_;
    std::optional<QPainterPath> path_;
    int shapes_ = 0, bitmaps_ = 0;
};

} // namespace vlr::rtf
