// Enhanced metafiles: records of 32-bit fields with their type and size first.
#include "rtf/image_decode.h"
#include "rtf/metafile_canvas.h"
#include "rtf/metafile_player.h"
#include "rtf/metafile_records.h"

namespace vlr::rtf {

namespace {

constexpr int kMaxRecords = 500000;

QRectF box(const RecordReader& r, qsizetype at) {
    return QRectF(QPointF(r.i32(at), r.i32(at + 4)), QPointF(r.i32(at + 8), r.i32(at + 12)));
}

QPointF point(const RecordReader& r, qsizetype at) {
    return QPointF(r.i32(at), r.i32(at + 4));
}

// Points of 32 bits (8 bytes each) or 16 bits (4 bytes each).
QPolygonF points(const RecordReader& r, qsizetype at, qsizetype count, bool small) {
    const qsizetype step = small ? 4 : 8;
    count = qBound<qsizetype>(0, count, (r.size() - at) / step);
    QPolygonF out;
    out.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype p = at + i * step;
        out.append(small ? QPointF(r.i16(p), r.i16(p + 2)) : QPointF(r.i32(p), r.i32(p + 4)));
    }
    return out;
}

QTransform xform(const RecordReader& r, qsizetype at) {
    return QTransform(r.f32(at), r.f32(at + 4), r.f32(at + 8), r.f32(at + 12), r.f32(at + 16),
                      r.f32(at + 20));
}

// A bitmap kept in a record by the offsets and sizes of its header and bits.
QImage recordDib(const RecordReader& r, qsizetype offsets, qint64 maxPixels) {
    const quint32 offBmi = r.u32(offsets), cbBmi = r.u32(offsets + 4);
    const quint32 offBits = r.u32(offsets + 8), cbBits = r.u32(offsets + 12);
    const QByteArray header = r.bytes(offBmi, cbBmi), bits = r.bytes(offBits, cbBits);
    if (header.size() < 40 || bits.isEmpty())
        return {};
    return readDib(header + bits, maxPixels);
}

void polyRecord(MetafileCanvas& canvas, const RecordReader& r, quint32 type) {
    const bool small = type >= 85;
    const quint32 kind = small ? type - 83 : type; // the 16-bit forms follow the 32-bit order
    const QPolygonF pts = points(r, 28, r.u32(24), small);
    switch (kind) {
    case 2:
        canvas.polyBezier(pts, false);
        break;
    case 3:
        canvas.polygon(pts);
        break;
    case 4:
        canvas.polyline(pts, false);
        break;
    case 5:
        canvas.polyBezier(pts, true);
        break;
    case 6:
        canvas.polyline(pts, true);
        break;
    default:
        break;
    }
}

void polyPolyRecord(MetafileCanvas& canvas, const RecordReader& r, bool small, bool closed) {
    const quint32 polygons = r.u32(24);
    if (polygons > quint32(r.size() / 4))
        return;
    std::vector<QPolygonF> shapes;
    qsizetype from = 32 + qsizetype(polygons) * 4;
    for (quint32 i = 0; i < polygons && from < r.size(); ++i) {
        const quint32 count = r.u32(32 + qsizetype(i) * 4);
        shapes.push_back(points(r, from, count, small));
        from += qsizetype(qMin<quint32>(count, quint32(r.size()))) * (small ? 4 : 8);
    }
    canvas.polyPolygon(shapes, closed);
}

void textRecord(MetafileCanvas& canvas, const RecordReader& r) {
    const quint32 chars = r.u32(44), offString = r.u32(48), options = r.u32(52);
    const qsizetype count = qMin<qsizetype>(chars, (r.size() - qsizetype(offString)) / 2);
    QString text;
    if (offString <= quint32(r.size()) && count > 0) {
        text.reserve(count);
        for (qsizetype i = 0; i < count; ++i)
            text.append(QChar(r.u16(offString + i * 2)));
    }
    canvas.text(point(r, 36), text, int(options), box(r, 56));
}

void bitmapRecord(MetafileCanvas& canvas, const RecordReader& r, quint32 type, qint64 maxPixels) {
    if (type == 81) { // StretchDIBits
        const QImage image = recordDib(r, 48, maxPixels);
        const QRectF dest(r.i32(24), r.i32(28), r.i32(72), r.i32(76));
        QRectF source(r.i32(32), r.i32(36), r.i32(40), r.i32(44));
        source.moveTop(image.height() - source.bottom()); // rows count from the bottom
        canvas.bitmap(dest, source, image, r.u32(68));
        return;
    }
    // BitBlt and StretchBlt; without a bitmap they paint the brush.
    const QRectF dest(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    const quint32 rop = r.u32(40);
    const QImage image = recordDib(r, 84, maxPixels);
    if (image.isNull()) {
        canvas.patternFill(dest, rop);
        return;
    }
    const QSizeF sourceSize = type == 77 ? QSizeF(r.i32(100), r.i32(104)) : dest.size();
    canvas.bitmap(dest, QRectF(QPointF(r.i32(44), r.i32(48)), sourceSize), image, rop);
}

void createObject(MetafileCanvas& canvas, const RecordReader& r, quint32 type, qint64 maxPixels) {
    const quint32 index = r.u32(8);
    switch (type) {
    case 38: // CreatePen
        canvas.putObject(index, makePen(r.u32(12), r.i32(16), r.u32(24)));
        break;
    case 95: { // ExtCreatePen: cosmetic pens are one pixel wide whatever their width says
        const quint32 style = r.u32(28);
        const qreal width = (style & 0x000F0000) ? r.u32(32) : 0;
        canvas.putObject(index, r.u32(36) == 1 ? makePen(5, 0, 0) : makePen(style, width, r.u32(40)));
        break;
    }
    case 39: // CreateBrushIndirect
        canvas.putObject(index, makeBrush(r.u32(12), r.u32(16), r.u32(20)));
        break;
    case 94: // CreateDIBPatternBrushPt
        canvas.putObject(index, makeBrush(5, 0, 0, recordDib(r, 16, maxPixels)));
        break;
    case 82: { // ExtCreateFontIndirectW
        QString face;
        for (qsizetype i = 0; i < 32; ++i) {
            const char16_t c = r.u16(40 + i * 2);
            if (!c)
                break;
            face.append(QChar(c));
        }
        canvas.putObject(
            index, makeFont(r.i32(12), r.i32(20), r.i32(28), r.u8(32), r.u8(33), r.u8(34), r.u8(35), face));
        break;
    }
    default: // palettes and the like hold their slot
        canvas.putObject(index, MetafileObject{});
        break;
    }
}

void play(MetafileCanvas& canvas, const QByteArray& emf, qint64 maxPixels) {
    qsizetype at = 0;
    for (int n = 0; at + 8 <= emf.size() && n < kMaxRecords; ++n) {
        const RecordReader head(emf, at, 8);
        const quint32 type = head.u32(0), size = head.u32(4);
        if (size < 8 || size % 4 || qsizetype(size) > emf.size() - at)
            break;
        const RecordReader r(emf, at, size);
        at += size;
        switch (type) {
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 85:
        case 86:
        case 87:
        case 88:
        case 89:
            polyRecord(canvas, r, type);
            break;
        case 7:
        case 8:
            polyPolyRecord(canvas, r, false, type == 8);
            break;
        case 90:
        case 91:
            polyPolyRecord(canvas, r, true, type == 91);
            break;
        case 9:
            canvas.setWindowExt(QSizeF(r.i32(8), r.i32(12)));
            break;
        case 10:
            canvas.setWindowOrg(point(r, 8));
            break;
        case 11:
            canvas.setViewportExt(QSizeF(r.i32(8), r.i32(12)));
            break;
        case 12:
            canvas.setViewportOrg(point(r, 8));
            break;
        case 14: // end of file
            return;
        case 17:
            canvas.setMapMode(int(r.u32(8)));
            break;
        case 18:
            canvas.setBkMode(int(r.u32(8)));
            break;
        case 19:
            canvas.setPolyFillMode(int(r.u32(8)));
            break;
        case 22:
            canvas.setTextAlign(int(r.u32(8)));
            break;
        case 24:
            canvas.setTextColor(colorRef(r.u32(8)));
            break;
        case 25:
            canvas.setBkColor(colorRef(r.u32(8)));
            break;
        case 27:
            canvas.moveTo(point(r, 8));
            break;
        case 33:
            canvas.saveDC();
            break;
        case 34:
            canvas.restoreDC(r.i32(8));
            break;
        case 35:
            canvas.setWorldTransform(xform(r, 8));
            break;
        case 36:
            canvas.modifyWorldTransform(xform(r, 8), int(r.u32(32)));
            break;
        case 37:
            canvas.selectObject(r.u32(8));
            break;
        case 38:
        case 39:
        case 49: // CreatePalette
        case 82:
        case 93: // CreateMonoBrush
        case 94:
        case 95:
            createObject(canvas, r, type, maxPixels);
            break;
        case 40:
            canvas.deleteObject(r.u32(8));
            break;
        case 42:
            canvas.ellipse(box(r, 8));
            break;
        case 43:
            canvas.rectangle(box(r, 8));
            break;
        case 44:
            canvas.roundRect(box(r, 8), QSizeF(r.i32(24), r.i32(28)));
            break;
        case 45:
        case 46:
        case 47:
            canvas.arc(box(r, 8), point(r, 24), point(r, 32),
                       type == 45   ? MetafileCanvas::ArcOnly
                       : type == 47 ? MetafileCanvas::PieSlice
                                    : MetafileCanvas::ChordSlice);
            break;
        case 54:
            canvas.lineTo(point(r, 8));
            break;
        case 59:
            canvas.beginPath();
            break;
        case 60:
            canvas.endPath();
            break;
        case 61:
            canvas.closeFigure();
            break;
        case 62:
            canvas.fillPath();
            break;
        case 63:
            canvas.strokeAndFillPath();
            break;
        case 64:
            canvas.strokePath();
            break;
        case 68:
            canvas.abortPath();
            break;
        case 76:
        case 77:
        case 81:
            bitmapRecord(canvas, r, type, maxPixels);
            break;
        case 84:
            textRecord(canvas, r);
            break;
        default:
            break;
        }
    }
}

} // namespace

PlayedMetafile playEmf(const QByteArray& emf, QSizeF size, qint64 maxPixels) {
    const RecordReader header(emf, 0, qMin<qsizetype>(emf.size(), 108));
    if (header.size() < 88 || header.u32(0) != 1 || header.u32(40) != 0x464D4520u) // " EMF"
        return {};
    // The frame is in hundredths of a millimetre; the device tells its pixels a millimetre.
    const qreal devW = header.i32(72), devH = header.i32(76), mmW = header.i32(80), mmH = header.i32(84);
    const bool metric = devW > 0 && devH > 0 && mmW > 0 && mmH > 0;
    const qreal pxX = metric ? devW / mmW : 96 / 25.4, pxY = metric ? devH / mmH : 96 / 25.4;
    const QRectF frameMm = box(header, 24);
    QRectF frame(QPointF(frameMm.left() * pxX / 100, frameMm.top() * pxY / 100),
                 QPointF(frameMm.right() * pxX / 100, frameMm.bottom() * pxY / 100));
    if (!(frame.width() > 0 && frame.height() > 0)) {
        const QRectF bounds = box(header, 8); // inclusive device pixels
        if (bounds.width() > 0 && bounds.height() > 0)
            frame = bounds.adjusted(0, 0, 1, 1);
    }
    if (!(frame.width() > 0 && frame.height() > 0))
        return {};
    if (size.isEmpty())
        size = frame.size() * 96 / 25.4 / pxX;
    return playOnCanvas(size, maxPixels, frame, [&](MetafileCanvas& canvas) {
        canvas.setDevicePixelsPerMm(pxX);
        canvas.setObjectSlots(header.u16(56));
        play(canvas, emf, maxPixels);
    });
}

} // namespace vlr::rtf
