#pragma once
// Pages of a document for printing and preview: lays the text out for a
// device at a given width and cuts it into pages by lines. The layout is
// kept between pages of one job and rebuilt when the text, the device
// resolution or the width changes.
#include <QRect>
#include <memory>

class QPainter;
class QPaintDevice;
class QTextDocument;

namespace vlr {

class TRichFormatRange {
public:
    TRichFormatRange();
    ~TRichFormatRange();

    // Fits the text from `start` (up to `end`, < 0: the end) into rcTwips on
    // the device; draws it when a painter is given. Returns the first
    // position not on the page (at least one line always is), or -1 when
    // the request makes no sense.
    int format(const QTextDocument* source, QPaintDevice* device, QPainter* painter, const QRect& rcTwips,
               int start, int end);
    void clear();

private:
    struct Cache;
    std::unique_ptr<Cache> m_cache;
};

} // namespace vlr
