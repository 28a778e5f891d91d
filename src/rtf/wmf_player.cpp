// 16-bit metafiles: records of 16-bit words, parameters mostly in reverse order.
#include "rtf/code_pages.h"
#include "rtf/image_decode.h"
#include "rtf/metafile_canvas.h"
#include "rtf/metafile_player.h"
#include "rtf/metafile_records.h"

#include <algorithm>

namespace vlr::rtf {

namespace {

constexpr int kMaxRecords = 500000;

// Where the records start and the picture's own frame in logical units.
struct WmfLayout {
    qsizetype records = 0;
    int objects = 0;
    QRectF frame;      // logical units: where the window starts
    qreal inch = 1440; // logical units an inch, from the placeable header
    QSizeF ownSize;    // pixels at 96 an inch
    bool valid = false;
};

// Records that only set up the state; the first other record starts the picture.
bool setsState(quint16 function) {
    static const quint16 kState[] = {0x020B, 0x020C, 0x020D, 0x020E, 0x0103, 0x001E, 0x0127, 0x0201,
                                     0x0209, 0x0102, 0x0106, 0x012E, 0x0104, 0x0107, 0x0105, 0x0108,
                                     0x0231, 0x02FA, 0x02FB, 0x02FC, 0x0142, 0x01F9, 0x00F7, 0x06FF,
                                     0x012D, 0x01F0, 0x0234, 0x0035, 0x0626, 0x0416, 0x0415, 0x0220};
    return std::find(std::begin(kState), std::end(kState), function) != std::end(kState);
}

WmfLayout layoutOf(const QByteArray& wmf) {
    WmfLayout l;
    qsizetype at = 0;
    const RecordReader whole(wmf, 0, wmf.size());
    QRectF placeable;
    if (whole.u32(0) == 0x9AC6CDD7u && wmf.size() >= 22) {
        // The placeable header: the bounds in logical units and units an inch.
        const QPointF topLeft(whole.i16(6), whole.i16(8));
        const QPointF bottomRight(whole.i16(10), whole.i16(12));
        placeable = QRectF(topLeft, bottomRight);
        if (whole.u16(14) > 0)
            l.inch = whole.u16(14);
        at = 22;
    }
    const RecordReader header(wmf, at, 18);
    const quint16 type = header.u16(0), words = header.u16(2);
    if (header.size() < 18 || (type != 1 && type != 2) || words < 9)
        return l;
    l.objects = header.u16(10);
    l.records = at + qsizetype(words) * 2;
    // The window set before the first drawing is the picture's frame.
    QPointF org;
    QSizeF ext(0, 0);
    qsizetype r = l.records;
    for (int n = 0; r + 6 <= wmf.size() && n < kMaxRecords; ++n) {
        const RecordReader rec(wmf, r, 6);
        const quint32 size = rec.u32(0);
        const quint16 function = rec.u16(4);
        if (size < 3 || qsizetype(size) > (wmf.size() - r) / 2 || !setsState(function))
            break;
        const RecordReader p(wmf, r, qsizetype(size) * 2);
        if (function == 0x020B)
            org = QPointF(p.i16(8), p.i16(6));
        else if (function == 0x020C)
            ext = QSizeF(p.i16(8), p.i16(6));
        r += qsizetype(size) * 2;
    }
    if (ext.width() != 0 && ext.height() != 0)
        l.frame = QRectF(org, ext);
    else
        l.frame = placeable;
    l.valid = l.frame.width() != 0 && l.frame.height() != 0;
    // Without the placeable header's units the window is taken to be in twips.
    l.ownSize = placeable.isNull() ? QSizeF(qAbs(l.frame.width()), qAbs(l.frame.height())) * 96 / 1440
                                   : QSizeF(qAbs(placeable.width()), qAbs(placeable.height())) * 96 / l.inch;
    return l;
}

QPolygonF points(const RecordReader& r, qsizetype at, qsizetype count) {
    count = qBound<qsizetype>(0, count, (r.size() - at) / 4);
    QPolygonF out;
    out.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        out.append(QPointF(r.i16(at + i * 4), r.i16(at + i * 4 + 2)));
    return out;
}

QRectF rectLTRB(const RecordReader& r, qsizetype at) {
    // Stored bottom, right, top, left.
    return QRectF(QPointF(r.i16(at + 6), r.i16(at + 4)), QPointF(r.i16(at + 2), r.i16(at)));
}

QString decoded(const QByteArray& bytes, int charset) {
    const int codePage = codePageOfCharset(charset, 1252);
    QString out;
    CodePageDecoder(codePage ? codePage : 1252).appendDecoded(out, bytes);
    return out;
}

// The bitmap records: parameters, then the bitmap to the record's end.
void playBitmap(MetafileCanvas& canvas, const RecordReader& r, quint16 function, qint64 maxPixels) {
    qsizetype dib = 0;
    QRectF dest, source;
    const quint32 rop = r.u32(6);
    if (function == 0x0F43) { // StretchDIB
        dib = 28;
        source = QRectF(r.i16(18), r.i16(16), r.i16(14), r.i16(12));
        dest = QRectF(r.i16(26), r.i16(24), r.i16(22), r.i16(20));
    } else if (function == 0x0B41) { // DIBStretchBlt
        dib = 26;
        source = QRectF(r.i16(16), r.i16(14), r.i16(12), r.i16(10));
        dest = QRectF(r.i16(24), r.i16(22), r.i16(20), r.i16(18));
    } else { // DIBBitBlt
        dib = 22;
        dest = QRectF(r.i16(20), r.i16(18), r.i16(16), r.i16(14));
        source = QRectF(QPointF(r.i16(12), r.i16(10)), dest.size());
    }
    const QImage image = readDib(r.bytes(dib, r.size() - dib), maxPixels);
    if (image.isNull())
        return;
    if (function == 0x0F43) // the source counts its rows from the bottom
        source.moveTop(image.height() - source.bottom());
    canvas.bitmap(dest, source, image, rop);
}

void play(MetafileCanvas& canvas, const QByteArray& wmf, const WmfLayout& l, qint64 maxPixels) {
    canvas.setObjectSlots(l.objects);
    qsizetype at = l.records;
    for (int n = 0; at + 6 <= wmf.size() && n < kMaxRecords; ++n) {
        const RecordReader head(wmf, at, 6);
        const quint32 size = head.u32(0);
        const quint16 function = head.u16(4);
        if (size < 3 || qsizetype(size) > (wmf.size() - at) / 2 || function == 0)
            break;
        const RecordReader r(wmf, at, qsizetype(size) * 2);
        at += qsizetype(size) * 2;
        const auto pt = [&r](qsizetype i) { return QPointF(r.i16(i + 2), r.i16(i)); }; // y, x
        switch (function) {
        case 0x020B:
            canvas.setWindowOrg(pt(6));
            break;
        case 0x020C:
            canvas.setWindowExt(QSizeF(r.i16(8), r.i16(6)));
            break;
        case 0x020D:
            canvas.setViewportOrg(pt(6));
            break;
        case 0x020E:
            canvas.setViewportExt(QSizeF(r.i16(8), r.i16(6)));
            break;
        case 0x0103: // SetMapMode: the frame is already in place of the device
            if (r.u16(6) == 7)
                canvas.setMapMode(7);
            break;
        case 0x001E:
            canvas.saveDC();
            break;
        case 0x0127:
            canvas.restoreDC(r.i16(6));
            break;
        case 0x0209:
            canvas.setTextColor(colorRef(r.u32(6)));
            break;
        case 0x0201:
            canvas.setBkColor(colorRef(r.u32(6)));
            break;
        case 0x0102:
            canvas.setBkMode(r.u16(6));
            break;
        case 0x0106:
            canvas.setPolyFillMode(r.u16(6));
            break;
        case 0x012E:
            canvas.setTextAlign(r.u16(6));
            break;
        case 0x02FA:
            canvas.addObject(makePen(r.u16(6), r.i16(8), r.u32(12)));
            break;
        case 0x02FC:
            canvas.addObject(makeBrush(r.u16(6), r.u32(8), r.u16(12)));
            break;
        case 0x0142: // DIBCreatePatternBrush
            canvas.addObject(makeBrush(3, 0, 0, readDib(r.bytes(10, r.size() - 10), maxPixels)));
            break;
        case 0x02FB: {
            QByteArray face = r.bytes(24, qMin<qsizetype>(32, r.size() - 24));
            face.truncate(face.indexOf('\0') >= 0 ? face.indexOf('\0') : face.size());
            canvas.addObject(makeFont(r.i16(6), r.i16(10), r.i16(14), r.u8(16), r.u8(17), r.u8(18), r.u8(19),
                                      decoded(face, r.u8(19))));
            break;
        }
        case 0x00F7: // CreatePalette
        case 0x01F9: // CreatePatternBrush
        case 0x06FF: // CreateRegion
            canvas.addObject(MetafileObject{});
            break;
        case 0x012D:
            canvas.selectObject(r.u16(6));
            break;
        case 0x01F0:
            canvas.deleteObject(r.u16(6));
            break;
        case 0x0214:
            canvas.moveTo(pt(6));
            break;
        case 0x0213:
            canvas.lineTo(pt(6));
            break;
        case 0x041B:
            canvas.rectangle(rectLTRB(r, 6));
            break;
        case 0x061C:
            canvas.roundRect(rectLTRB(r, 10), QSizeF(r.i16(8), r.i16(6)));
            break;
        case 0x0418:
            canvas.ellipse(rectLTRB(r, 6));
            break;
        case 0x0817:
        case 0x081A:
        case 0x0830:
            canvas.arc(rectLTRB(r, 14), pt(10), pt(6),
                       function == 0x0817   ? MetafileCanvas::ArcOnly
                       : function == 0x081A ? MetafileCanvas::PieSlice
                                            : MetafileCanvas::ChordSlice);
            break;
        case 0x0324:
            canvas.polygon(points(r, 8, r.u16(6)));
            break;
        case 0x0325:
            canvas.polyline(points(r, 8, r.u16(6)), false);
            break;
        case 0x0538: {
            const int polygons = r.u16(6);
            std::vector<QPolygonF> shapes;
            qsizetype from = 8 + qsizetype(polygons) * 2;
            for (int i = 0; i < polygons && from < r.size(); ++i) {
                shapes.push_back(points(r, from, r.u16(8 + i * 2)));
                from += qsizetype(r.u16(8 + i * 2)) * 4;
            }
            canvas.polyPolygon(shapes, true);
            break;
        }
        case 0x0521: { // TextOut
            const int length = r.u16(6);
            const qsizetype after = 8 + ((length + 1) & ~1);
            canvas.text(QPointF(r.i16(after + 2), r.i16(after)),
                        decoded(r.bytes(8, qMin<qsizetype>(length, r.size() - 8)), canvas.fontCharset()), 0,
                        {});
            break;
        }
        case 0x0A32: { // ExtTextOut
            const int length = r.u16(10), options = r.u16(12);
            const bool hasRect = options & 6;
            const QRectF rect =
                hasRect ? QRectF(QPointF(r.i16(14), r.i16(16)), QPointF(r.i16(18), r.i16(20))) : QRectF();
            const qsizetype text = hasRect ? 22 : 14;
            canvas.text(
                pt(6), decoded(r.bytes(text, qMin<qsizetype>(length, r.size() - text)), canvas.fontCharset()),
                options, rect);
            break;
        }
        case 0x0F43:
        case 0x0B41:
        case 0x0940:
            playBitmap(canvas, r, function, maxPixels);
            break;
        case 0x061D: // PatBlt
            canvas.patternFill(QRectF(r.i16(16), r.i16(14), r.i16(12), r.i16(10)), r.u32(6));
            break;
        default:
            break;
        }
    }
}

} // namespace

PlayedMetafile playWmf(const QByteArray& wmf, QSizeF size, qint64 maxPixels) {
    const WmfLayout l = layoutOf(wmf);
    if (!l.valid)
        return {};
    if (size.isEmpty())
        size = l.ownSize;
    // The window of the frame fills the image; later windows are mapped
    // through it as onto the viewport of a device.
    const QSizeF extent(qAbs(l.frame.width()), qAbs(l.frame.height()));
    return playOnCanvas(size, maxPixels, QRectF(QPointF(0, 0), extent), [&](MetafileCanvas& canvas) {
        canvas.setMapMode(8);
        canvas.setWindowOrg(l.frame.topLeft());
        canvas.setWindowExt(l.frame.size());
        canvas.setViewportExt(extent);
        play(canvas, wmf, l, maxPixels);
    });
}

} // namespace vlr::rtf
