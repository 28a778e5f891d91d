#include "editor/decorations.h"

#include "editor/links.h"
#include "rtf/properties.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace vlr {

TRichDecorations::TRichDecorations(QObject* parent)
    : QObject(parent), m_link(Qt::blue), m_disabled(Qt::gray) {}

void TRichDecorations::setDocument(QTextDocument* doc) {
    if (m_doc)
        disconnect(m_doc, nullptr, this, nullptr);
    m_doc = doc;
    if (doc)
        connect(doc, &QTextDocument::contentsChange, this, &TRichDecorations::contentsChange);
}

void TRichDecorations::setColors(const QColor& link, const QColor& disabled) {
    m_link = link;
    m_disabled = disabled;
}

void TRichDecorations::decorateAll() {
    if (m_doc)
        decorate(0, m_doc->characterCount());
}

void TRichDecorations::contentsChange(int from, int, int added) {
    decorate(from, from + added);
}

void TRichDecorations::decorate(int from, int to) {
    int dirtyFrom = -1, dirtyTo = -1;
    for (QTextBlock b = m_doc->findBlock(from); b.isValid() && b.position() <= to; b = b.next()) {
        if (decorateBlock(b)) {
            if (dirtyFrom < 0)
                dirtyFrom = b.position();
            dirtyTo = b.position() + b.length();
        }
    }
    // Only drawing changes; the layout is told, the document's listeners are not.
    if (dirtyFrom >= 0)
        m_doc->markContentsDirty(dirtyFrom, dirtyTo - dirtyFrom);
}

bool TRichDecorations::decorateBlock(const QTextBlock& block) {
    QTextLayout* layout = block.layout();
    if (!layout)
        return false;
    QList<QTextLayout::FormatRange> ranges;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.charFormat().boolProperty(rtf::PropDisabled)) {
            QTextLayout::FormatRange r;
            r.start = f.position() - block.position();
            r.length = f.length();
            r.format.setForeground(m_disabled);
            ranges.append(r);
        }
    }
    if (m_detectUrls) {
        for (const TCharRange& u : vlr::detectUrls(block.text())) {
            QTextLayout::FormatRange r;
            r.start = u.start;
            r.length = u.end - u.start;
            r.format.setForeground(m_link);
            r.format.setFontUnderline(true);
            ranges.append(r);
        }
    }
    if (ranges.isEmpty() && layout->formats().isEmpty())
        return false;
    layout->setFormats(ranges);
    return true;
}

} // namespace vlr
