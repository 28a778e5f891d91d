#pragma once
// The strip left of the text where a click selects the whole line, a drag
// whole lines and a double click the paragraph.
#include <QTextCursor>
#include <QWidget>

namespace vlr {

class TMyCustomRichEdit;

class TSelectionBar final : public QWidget {
    Q_OBJECT
public:
    explicit TSelectionBar(TMyCustomRichEdit* editor);
    static constexpr int kWidth = 8;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QTextCursor lineAt(int y) const;
    TMyCustomRichEdit* m_editor;
    int m_anchorLineStart = -1;
    int m_anchorLineEnd = -1;
};

} // namespace vlr
