#pragma once
// What the control draws over the stored formats without changing them:
// recognised URLs look like links and disabled text is greyed. The marks
// live in the paragraph layouts only, so they are neither document edits
// nor saved.
#include <QColor>
#include <QObject>
#include <QPointer>

class QTextBlock;
class QTextDocument;

namespace vlr {

class TRichDecorations final : public QObject {
public:
    explicit TRichDecorations(QObject* parent);

    void setDocument(QTextDocument* doc);
    void setDetectUrls(bool on) { m_detectUrls = on; } // then decorateAll()
    bool detectUrls() const { return m_detectUrls; }
    void setColors(const QColor& link, const QColor& disabled);
    void decorateAll();

private:
    void contentsChange(int from, int removed, int added);
    void decorate(int from, int to);
    bool decorateBlock(const QTextBlock& block);

    QPointer<QTextDocument> m_doc;
    bool m_detectUrls = false;
    QColor m_link, m_disabled;
};

} // namespace vlr
