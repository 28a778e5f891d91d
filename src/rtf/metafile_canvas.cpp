#include "rtf/metafile_canvas.h"

#include <QFontMetricsF>
#include <QtMath>

#include <cmath>

namespace vlr::rtf {

namespace {

// Saved states and object slots a metafile may hold; more is damage.
constexpr size_t kMaxSaved = 1024;
constexpr int kMaxSlots = 65536;
// Shapes reaching further than this many pixels are damage, not drawing.
constexpr qreal kMaxDevice = 1 << 22;
// The largest image a metafile is drawn onto.
constexpr qreal kMaxCanvasSide = 4096;
constexpr qint64 kMaxCanvasPixels = 4096 * 2048;

QSizeF nonZero(QSizeF s) {
    return {s.width() == 0 ? 1 : s.width(), s.height() == 0 ? 1 : s.height()};
}

bool finite(const QTransform& t) {
    for (qreal v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()}) {
        if (!std::isfinite(v) || qAbs(v) > 1e12)
            return false;
    }
    return true;
}

// The angle of the ray from the box's centre through p, as Qt measures
// angles on an ellipse: counterclockwise from three o'clock.
qreal arcAngle(const QRectF& box, QPointF p) {
    const QPointF c = box.center();
    const qreal rx = qMax<qreal>(box.width() / 2, 1e-9), ry = qMax<qreal>(box.height() / 2, 1e-9);
    return qRadiansToDegrees(std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx));
}

QPainter::CompositionMode compositionOf(quint32 rop) {
    switch (rop) {
    case 0x008800C6: // SRCAND
        return QPainter::RasterOp_SourceAndDestination;
    case 0x00EE0086: // SRCPAINT
        return QPainter::RasterOp_SourceOrDestination;
    case 0x00660046: // SRCINVERT
        return QPainter::RasterOp_SourceXorDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

// A blank image of the size wanted, made smaller to stay within the limits;
// null when nothing fits.
QImage blankImage(QSizeF wanted, qint64 maxPixels) {
    if (!(wanted.width() >= 1 && wanted.height() >= 1) || maxPixels < 1)
        return {};
    qreal scale = 1;
    const qreal side = qMax(wanted.width(), wanted.height());
    if (side > kMaxCanvasSide)
        scale = kMaxCanvasSide / side;
    const qreal pixels = wanted.width() * wanted.height() * scale * scale;
    const qreal budget = qreal(qMin<qint64>(maxPixels, kMaxCanvasPixels));
    if (pixels > budget)
        scale *= std::sqrt(budget / pixels);
    const QSize size(qMax(1, int(wanted.width() * scale)), qMax(1, int(wanted.height() * scale)));
    if (qint64(size.width()) * size.height() > maxPixels)
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    // Metafiles are drawn on the page they were made for.
    image.fill(Qt::white);
    return image;
}

} // namespace

QColor colorRef(quint32 c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

MetafileObject makePen(quint32 style, qreal width, quint32 color) {
    MetafileObject o;
    o.kind = MetafileObject::Pen;
    o.pen = QPen(colorRef(color));
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    o.pen.setStyle((style & 0xF) < 7 ? styles[style & 0xF] : Qt::SolidLine);
    // Geometric pens have their width in logical units; width 0 is one pixel.
    if (width > 0 && std::isfinite(width)) {
        o.pen.setWidthF(width);
    } else {
        o.pen.setWidth(1);
        o.pen.setCosmetic(true);
    }
    const quint32 cap = style & 0x0F00, join = style & 0xF000;
    o.pen.setCapStyle(cap == 0x0100 ? Qt::SquareCap : cap == 0x0200 ? Qt::FlatCap : Qt::RoundCap);
    o.pen.setJoinStyle(join == 0x1000 ? Qt::BevelJoin : join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin);
    return o;
}

MetafileObject makeBrush(quint32 style, quint32 color, quint32 hatch, const QImage& pattern) {
    MetafileObject o;
    o.kind = MetafileObject::Brush;
    switch (style) {
    case 0: // BS_SOLID
        o.brush = QBrush(colorRef(color));
        break;
    case 1: // BS_NULL
        o.brush = QBrush(Qt::NoBrush);
        break;
    case 2: { // BS_HATCHED
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::BDiagPattern,
                                                 Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        o.brush = QBrush(colorRef(color), hatch < 6 ? hatches[hatch] : Qt::SolidPattern);
        break;
    }
    default: // patterns: their bitmap when it could be read, otherwise grey
        o.brush = pattern.isNull() ? QBrush(QColor(128, 128, 128)) : QBrush(pattern);
        break;
    }
    return o;
}

MetafileObject makeFont(int height, int escapement, int weight, bool italic, bool underline, bool strike,
                        int charset, const QString& face) {
    MetafileObject o;
    o.kind = MetafileObject::Font;
    o.font = QFont(face.isEmpty() ? QStringLiteral("Sans Serif") : face);
    o.font.setWeight(weight >= 600 ? QFont::Bold : QFont::Normal);
    o.font.setItalic(italic);
    o.font.setUnderline(underline);
    o.font.setStrikeOut(strike);
    o.fontHeight = height;
    o.escapement = escapement;
    o.charset = charset;
    return o;
}

PlayedMetafile playOnCanvas(QSizeF wanted, qint64 maxPixels, const QRectF& frame,
                            const std::function<void(MetafileCanvas&)>& play) {
    QImage image = blankImage(wanted, maxPixels);
    if (image.isNull())
        return {};
    PlayedMetafile out;
    {
        MetafileCanvas canvas(image, frame);
        play(canvas);
        out.shapes = canvas.shapes();
        out.bitmaps = canvas.bitmaps();
    }
    if (out.shapes + out.bitmaps > 0)
        out.image = image;
    return out;
}

MetafileCanvas::MetafileCanvas(QImage& image, const QRectF& frame) : image_(image), painter_(&image) {
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF f(frame.topLeft(), nonZero(frame.size()));
    frame_ = QTransform::fromTranslate(-f.left(), -f.top()) *
             QTransform::fromScale(image.width() / f.width(), image.height() / f.height());
    s_.pen.setCapStyle(Qt::RoundCap);
    s_.pen.setJoinStyle(Qt::RoundJoin);
    s_.pen.setCosmetic(true);
    s_.font.kind = MetafileObject::Font;
}

MetafileCanvas::~MetafileCanvas() = default;

void MetafileCanvas::setMapMode(int mode) {
    if (mode >= 1 && mode <= 8)
        s_.mapMode = mode;
}

void MetafileCanvas::setWindowOrg(QPointF p) {
    s_.winOrg = p;
}

void MetafileCanvas::setWindowExt(QSizeF s) {
    s_.winExt = nonZero(s);
}

void MetafileCanvas::setViewportOrg(QPointF p) {
    s_.vpOrg = p;
}

void MetafileCanvas::setViewportExt(QSizeF s) {
    s_.vpExt = nonZero(s);
}

void MetafileCanvas::setWorldTransform(const QTransform& t) {
    if (finite(t))
        s_.world = t;
}

void MetafileCanvas::modifyWorldTransform(const QTransform& t, int mode) {
    QTransform w = s_.world;
    if (mode == 1)
        w = QTransform();
    else if (mode == 2)
        w = t * s_.world;
    else if (mode == 3)
        w = s_.world * t;
    else if (mode == 4)
        w = t;
    if (finite(w))
        s_.world = w;
}

void MetafileCanvas::saveDC() {
    if (saved_.size() < kMaxSaved)
        saved_.push_back(s_);
}

void MetafileCanvas::restoreDC(int which) {
    // Negative: that many states back; positive: the state saved as number which.
    qsizetype index = which < 0 ? qsizetype(saved_.size()) + which : qsizetype(which) - 1;
    if (index < 0 || index >= qsizetype(saved_.size()))
        return;
    s_ = saved_[size_t(index)];
    saved_.resize(size_t(index));
}

QTransform MetafileCanvas::pageTransform() const {
    qreal sx = 1, sy = 1;
    switch (s_.mapMode) {
    case 2: // 0.1 mm, y up
        sx = pxPerMm_ / 10, sy = -sx;
        break;
    case 3: // 0.01 mm
        sx = pxPerMm_ / 100, sy = -sx;
        break;
    case 4: // 0.01 inch
        sx = pxPerMm_ * 0.254, sy = -sx;
        break;
    case 5: // 0.001 inch
        sx = pxPerMm_ * 0.0254, sy = -sx;
        break;
    case 6: // twips
        sx = pxPerMm_ * 25.4 / 1440, sy = -sx;
        break;
    case 7: { // isotropic: the smaller scale on both axes, keeping the signs
        const qreal ax = s_.vpExt.width() / s_.winExt.width(), ay = s_.vpExt.height() / s_.winExt.height();
        const qreal m = qMin(qAbs(ax), qAbs(ay));
        sx = ax < 0 ? -m : m;
        sy = ay < 0 ? -m : m;
        break;
    }
    case 8:
        sx = s_.vpExt.width() / s_.winExt.width();
        sy = s_.vpExt.height() / s_.winExt.height();
        break;
    default:
        break;
    }
    return QTransform::fromTranslate(-s_.winOrg.x(), -s_.winOrg.y()) * QTransform::fromScale(sx, sy) *
           QTransform::fromTranslate(s_.vpOrg.x(), s_.vpOrg.y());
}

QTransform MetafileCanvas::fullTransform() const {
    return s_.world * pageTransform() * frame_;
}

bool MetafileCanvas::sane(const QRectF& logical) const {
    const QTransform t = fullTransform();
    if (!finite(t))
        return false;
    const QRectF d = t.mapRect(logical);
    return std::isfinite(d.left()) && std::isfinite(d.top()) && qAbs(d.left()) < kMaxDevice &&
           qAbs(d.top()) < kMaxDevice && d.width() < kMaxDevice && d.height() < kMaxDevice;
}

void MetafileCanvas::paint(const QPainterPath& shape, bool stroke, bool fill) {
    if (path_) {
        path_->addPath(shape);
        return;
    }
    if (!sane(shape.controlPointRect()))
        return;
    painter_.setTransform(fullTransform());
    if (fill && s_.brush.style() != Qt::NoBrush) {
        QPainterPath filled = shape;
        filled.setFillRule(s_.fill);
        painter_.setBackgroundMode(s_.opaque ? Qt::OpaqueMode : Qt::TransparentMode);
        painter_.setBackground(s_.bkColor);
        painter_.fillPath(filled, s_.brush);
    }
    if (stroke && s_.pen.style() != Qt::NoPen)
        painter_.strokePath(shape, s_.pen);
    ++shapes_;
}

void MetafileCanvas::moveTo(QPointF p) {
    s_.current = p;
    if (path_)
        path_->moveTo(p);
}

void MetafileCanvas::lineTo(QPointF p) {
    if (path_) {
        if (path_->elementCount() == 0)
            path_->moveTo(s_.current);
        path_->lineTo(p);
    } else {
        QPainterPath line(s_.current);
        line.lineTo(p);
        paint(line, true, false);
    }
    s_.current = p;
}

void MetafileCanvas::polyline(const QPolygonF& points, bool fromCurrent) {
    if (points.isEmpty())
        return;
    if (path_) {
        if (!fromCurrent || path_->elementCount() == 0)
            path_->moveTo(fromCurrent ? s_.current : points.first());
        for (qsizetype i = fromCurrent ? 0 : 1; i < points.size(); ++i)
            path_->lineTo(points[i]);
    } else {
        QPainterPath line(fromCurrent ? s_.current : points.first());
        for (qsizetype i = fromCurrent ? 0 : 1; i < points.size(); ++i)
            line.lineTo(points[i]);
        paint(line, true, false);
    }
    if (fromCurrent)
        s_.current = points.last();
}

void MetafileCanvas::polygon(const QPolygonF& points) {
    if (points.size() < 2)
        return;
    QPainterPath shape;
    shape.addPolygon(points);
    shape.closeSubpath();
    paint(shape, true, true);
}

void MetafileCanvas::polyPolygon(const std::vector<QPolygonF>& polygons, bool closed) {
    QPainterPath shape;
    for (const QPolygonF& p : polygons) {
        if (p.size() < 2)
            continue;
        shape.addPolygon(p);
        if (closed)
            shape.closeSubpath();
    }
    paint(shape, true, closed);
}

void MetafileCanvas::polyBezier(const QPolygonF& points, bool fromCurrent) {
    const qsizetype first = fromCurrent ? 0 : 1;
    if (points.size() < first + 3)
        return;
    QPainterPath curve(fromCurrent ? s_.current : points.first());
    if (path_ && fromCurrent && path_->elementCount() > 0)
        curve = QPainterPath(path_->currentPosition());
    for (qsizetype i = first; i + 2 < points.size(); i += 3)
        curve.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (path_ && fromCurrent && path_->elementCount() > 0)
        path_->connectPath(curve);
    else
        paint(curve, true, false);
    if (fromCurrent)
        s_.current = curve.currentPosition();
}

void MetafileCanvas::rectangle(const QRectF& r) {
    QPainterPath shape;
    shape.addRect(r.normalized());
    paint(shape, true, true);
}

void MetafileCanvas::roundRect(const QRectF& r, QSizeF corner) {
    QPainterPath shape;
    shape.addRoundedRect(r.normalized(), qAbs(corner.width()) / 2, qAbs(corner.height()) / 2);
    paint(shape, true, true);
}

void MetafileCanvas::ellipse(const QRectF& r) {
    QPainterPath shape;
    shape.addEllipse(r.normalized());
    paint(shape, true, true);
}

void MetafileCanvas::arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind) {
    const QRectF b = box.normalized();
    const qreal a0 = arcAngle(b, start);
    qreal sweep = arcAngle(b, end) - a0;
    while (sweep <= 0)
        sweep += 360;
    QPainterPath shape;
    if (kind == PieSlice)
        shape.moveTo(b.center());
    else
        shape.arcMoveTo(b, a0);
    shape.arcTo(b, a0, sweep);
    if (kind != ArcOnly)
        shape.closeSubpath();
    paint(shape, true, kind != ArcOnly);
}

void MetafileCanvas::text(QPointF at, const QString& text, int options, const QRectF& rect) {
    if (path_)
        return;
    const QTransform t = fullTransform();
    if (!finite(t))
        return;
    if ((options & 2) && sane(rect)) { // ETO_OPAQUE
        painter_.setTransform(t);
        painter_.fillRect(rect.normalized(), s_.bkColor);
    }
    if (text.isEmpty())
        return;
    // Text is drawn upright in image pixels, whatever way the axes point.
    const bool useCurrent = s_.textAlign & 1; // TA_UPDATECP
    const QPointF origin = t.map(useCurrent ? s_.current : at);
    const qreal scale = std::hypot(t.m12(), t.m22());
    QFont font = s_.font.font;
    const qreal height = qAbs(s_.font.fontHeight) > 0 ? qAbs(s_.font.fontHeight) * scale : 12;
    if (!std::isfinite(height) || height > 4096 || !std::isfinite(origin.x()) || !std::isfinite(origin.y()) ||
        qAbs(origin.x()) > kMaxDevice || qAbs(origin.y()) > kMaxDevice)
        return;
    font.setPixelSize(qMax(1, qRound(height)));
    if (s_.font.fontHeight > 0) { // the cell height: the character height is less
        const QFontMetricsF m(font);
        font.setPixelSize(qMax(1, qRound(height * height / qMax<qreal>(1, m.height()))));
    }
    const QFontMetricsF m(font);
    const qreal width = m.horizontalAdvance(text);
    qreal x = 0, y = 0;
    if ((s_.textAlign & 6) == 6)
        x = -width / 2;
    else if (s_.textAlign & 2)
        x = -width;
    if ((s_.textAlign & 24) == 24)
        y = 0;
    else if (s_.textAlign & 8)
        y = -m.descent();
    else
        y = m.ascent();
    painter_.setTransform(QTransform::fromTranslate(origin.x(), origin.y()));
    painter_.rotate(-s_.font.escapement / 10.0);
    if (s_.opaque)
        painter_.fillRect(QRectF(x, y - m.ascent(), width, m.height()), s_.bkColor);
    painter_.setFont(font);
    painter_.setPen(s_.textColor);
    painter_.drawText(QPointF(x, y), text);
    if (useCurrent && scale > 0) {
        const qreal sx = std::hypot(t.m11(), t.m21());
        s_.current += QPointF(sx > 0 ? width / sx : 0, 0);
    }
    ++shapes_;
}

void MetafileCanvas::bitmap(const QRectF& dest, const QRectF& source, const QImage& image, quint32 rop) {
    if (image.isNull() || path_ || !sane(dest))
        return;
    QRectF src = source.normalized();
    if (src.isEmpty())
        src = image.rect();
    src = src.intersected(image.rect());
    if (src.isEmpty())
        return;
    QImage part = image.copy(src.toAlignedRect());
    // Negative extents mirror the picture.
    part = part.mirrored(dest.width() < 0, dest.height() < 0);
    painter_.setTransform(fullTransform());
    painter_.setCompositionMode(compositionOf(rop));
    painter_.drawImage(dest.normalized(), part);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    ++bitmaps_;
}

void MetafileCanvas::patternFill(const QRectF& dest, quint32 rop) {
    if (path_ || !sane(dest))
        return;
    QBrush brush = s_.brush;
    if (rop == 0x00FF0062) // WHITENESS
        brush = QBrush(Qt::white);
    else if (rop == 0x00000042) // BLACKNESS
        brush = QBrush(Qt::black);
    else if (rop != 0x00F00021) // only PATCOPY paints the brush as it is
        return;
    painter_.setTransform(fullTransform());
    painter_.fillRect(dest.normalized(), brush);
    ++shapes_;
}

void MetafileCanvas::beginPath() {
    path_.emplace();
}

void MetafileCanvas::closeFigure() {
    if (path_)
        path_->closeSubpath();
}

void MetafileCanvas::drawPath(bool stroke, bool fill) {
    if (!path_)
        return;
    const QPainterPath shape = *path_;
    path_.reset();
    paint(shape, stroke, fill);
}

void MetafileCanvas::setObjectSlots(int count) {
    objects_.clear();
    objects_.resize(static_cast<size_t>(qBound(0, count, kMaxSlots)));
    free_.clear();
    for (int i = 0; i < int(objects_.size()); ++i)
        free_.insert(free_.end(), i);
}

void MetafileCanvas::addObject(MetafileObject object) {
    if (free_.empty())
        return;
    const int index = *free_.begin();
    free_.erase(free_.begin());
    objects_[size_t(index)] = std::make_unique<MetafileObject>(std::move(object));
}

void MetafileCanvas::putObject(quint32 index, MetafileObject object) {
    if (index < objects_.size())
        objects_[index] = std::make_unique<MetafileObject>(std::move(object));
}

MetafileObject MetafileCanvas::stockObject(quint32 n) const {
    MetafileObject o;
    static const QColor brushes[] = {Qt::white, QColor(192, 192, 192), QColor(128, 128, 128),
                                     QColor(64, 64, 64), Qt::black};
    if (n <= 4) {
        o.kind = MetafileObject::Brush;
        o.brush = QBrush(brushes[n]);
    } else if (n == 5) {
        o.kind = MetafileObject::Brush;
        o.brush = Qt::NoBrush;
    } else if (n >= 6 && n <= 8) {
        o.kind = MetafileObject::Pen;
        o.pen = n == 8 ? QPen(Qt::NoPen) : QPen(n == 6 ? Qt::white : Qt::black);
        o.pen.setCosmetic(true);
    } else if (n >= 10 && n <= 17) {
        o.kind = MetafileObject::Font;
        o.font = QFont(n == 10 || n == 11 ? QStringLiteral("Monospace") : QStringLiteral("Sans Serif"));
    }
    return o;
}

void MetafileCanvas::selectObject(quint32 index) {
    MetafileObject stock;
    const MetafileObject* o = nullptr;
    if (index & 0x80000000u) {
        stock = stockObject(index & 0x7FFFFFFFu);
        o = &stock;
    } else if (index < objects_.size()) {
        o = objects_[index].get();
    }
    if (!o)
        return;
    switch (o->kind) {
    case MetafileObject::Pen:
        s_.pen = o->pen;
        break;
    case MetafileObject::Brush:
        s_.brush = o->brush;
        break;
    case MetafileObject::Font:
        s_.font = *o;
        break;
    default:
        break;
    }
}

void MetafileCanvas::deleteObject(quint32 index) {
    if (index >= objects_.size() || !objects_[index])
        return;
    objects_[index].reset();
    free_.insert(int(index));
}

} // namespace vlr::rtf
