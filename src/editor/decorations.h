#pragma once
// What the control draws over the stored formats without changing them:
// recognised URLs look like links and disabled text is greyed.
#include <QSyntaxHighlighter>

namespace vlr {

class TRichDecorations final : public QSyntaxHighlighter {
public:
    explicit TRichDecorations(QObject* parent);

    void setDetectUrls(bool on);
    bool detectUrls() const { return m_detectUrls; }
    void setColors(const QColor& link, const QColor& disabled);

protected:
    void highlightBlock(const QString& text) override;

private:
    bool m_detectUrls = false;
    QColor m_link, m_disabled;
};

} // namespace vlr
