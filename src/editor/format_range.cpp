#include "editor/format_range.h"
#include "editor/list_labels.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace vlr {

struct TRichFormatRange::Cache {
    const QTextDocument* source = nullptr;
    int revision = -1;
    int dpiX = 0, dpiY = 0;
    int width = 0;
    std::unique_ptr<QTextDocument> doc;
};

TRichFormatRange::TRichFormatRange() = default;
TRichFormatRange::~TRichFormatRange() = default;

void TRichFormatRange::clear() {
    m_cache.reset();
}

namespace {

struct LineBox {
    int start = 0; // first position of the line
    qreal top = 0, bottom = 0;
};

// The lines of the document from `pos` on, in text order, with their place
// in document coordinates; stops once a line starts at or after `end`.
template <typename Visit> void forEachLine(QTextDocument* doc, int pos, int end, Visit visit) {
    auto* layout = doc->documentLayout();
    for (QTextBlock b = doc->findBlock(pos); b.isValid(); b = b.next()) {
        const QRectF br = layout->blockBoundingRect(b);
        const QTextLayout* tl = b.layout();
        if (!tl || tl->lineCount() == 0) {
            if (b.position() >= pos && !visit(LineBox{b.position(), br.top(), br.bottom()}))
                return;
            continue;
        }
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            const int lineStart = b.position() + line.textStart();
            const int lineEnd = lineStart + line.textLength();
            if (lineEnd <= pos && lineStart < pos)
                continue;
            if (lineStart >= end)
                return;
            const qreal top = br.top() + line.y();
            if (!visit(LineBox{qMax(lineStart, pos), top, top + line.height()}))
                return;
        }
    }
}

} // namespace

int TRichFormatRange::format(const QTextDocument* source, QPaintDevice* device, QPainter* painter,
                             const QRect& rcTwips, int start, int end) {
    if (!source || !device || rcTwips.width() <= 0 || rcTwips.height() <= 0)
        return -1;
    const int length = source->characterCount() - 1;
    if (end < 0 || end > length)
        end = length;
    if (start < 0 || start > end)
        return -1;
    const int dpiX = device->logicalDpiX(), dpiY = device->logicalDpiY();
    if (dpiX <= 0 || dpiY <= 0)
        return -1;
    const QRectF rc(rcTwips.left() * qreal(dpiX) / 1440, rcTwips.top() * qreal(dpiY) / 1440,
                    rcTwips.width() * qreal(dpiX) / 1440, rcTwips.height() * qreal(dpiY) / 1440);
    const int width = qMax(1, int(rc.width()));
    if (!m_cache || m_cache->source != source || m_cache->revision != source->revision() ||
        m_cache->dpiX != dpiX || m_cache->dpiY != dpiY || m_cache->width != width) {
        m_cache = std::make_unique<Cache>();
        m_cache->source = source;
        m_cache->revision = source->revision();
        m_cache->dpiX = dpiX;
        m_cache->dpiY = dpiY;
        m_cache->width = width;
        m_cache->doc.reset(source->clone());
        m_cache->doc->setUndoRedoEnabled(false);
        m_cache->doc->documentLayout()->setPaintDevice(device);
        m_cache->doc->setDocumentMargin(0);
        m_cache->doc->setTextWidth(width);
    }
    QTextDocument* doc = m_cache->doc.get();
    if (start >= end)
        return end;

    qreal pageTop = -1, pageBottom = 0;
    int next = end;
    forEachLine(doc, start, end, [&](const LineBox& line) {
        if (pageTop < 0) {
            pageTop = line.top;
            pageBottom = line.bottom;
            return true;
        }
        if (line.bottom - pageTop > rc.height()) {
            next = line.start;
            return false;
        }
        pageBottom = qMax(pageBottom, line.bottom);
        return true;
    });
    if (pageTop < 0)
        return end;
    if (painter) {
        painter->save();
        painter->translate(rc.left(), rc.top() - pageTop);
        const QRectF clip(0, pageTop, rc.width(), pageBottom - pageTop);
        painter->setClipRect(clip, painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = clip;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(painter, ctx);
        // Printed lists show the same numbers as the screen.
        paintListLabels(*painter, doc, {clip, ctx.palette, nullptr});
        painter->restore();
    }
    return next;
}

} // namespace vlr
