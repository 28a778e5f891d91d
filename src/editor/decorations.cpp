#include "editor/decorations.h"

#include "editor/links.h"
#include "rtf/properties.h"

#include <QTextBlock>

namespace vlr {

TRichDecorations::TRichDecorations(QObject* parent)
    : QSyntaxHighlighter(parent), m_link(Qt::blue), m_disabled(Qt::gray)
{
}

void TRichDecorations::setDetectUrls(bool on)
{
    if (m_detectUrls == on)
        return;
    m_detectUrls = on;
    if (document())
        rehighlight();
}

void TRichDecorations::setColors(const QColor& link, const QColor& disabled)
{
    m_link = link;
    m_disabled = disabled;
}

void TRichDecorations::highlightBlock(const QString& text)
{
    const QTextBlock block = currentBlock();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.charFormat().boolProperty(rtf::PropDisabled)) {
            QTextCharFormat grey;
            grey.setForeground(m_disabled);
            setFormat(f.position() - block.position(), f.length(), grey);
        }
    }
    if (!m_detectUrls)
        return;
    for (const TCharRange& r : vlr::detectUrls(text)) {
        QTextCharFormat link;
        link.setForeground(m_link);
        link.setFontUnderline(true);
        setFormat(r.start, r.end - r.start, link);
    }
}

} // namespace vlr
