#pragma once
// The status bar's panels: 0 caret position, 1 notebook state, 2 insert or
// overwrite, 3 zoom, 4 status text, 6 clock. The status text falls back to
// the help hint four seconds after it was shown.
#include <QObject>
#include <QTimer>

#include <array>
#include <functional>

class QLabel;
class QStatusBar;

namespace vlr {

class TStatusPanels : public QObject {
    Q_OBJECT
public:
    enum Panel { Caret = 0, State = 1, InsertMode = 2, Zoom = 3, Text = 4, Spare = 5, Clock = 6, Count = 7 };
    static inline const QString kHelpHint = QStringLiteral("Нажмите F1 для справки.");

    explicit TStatusPanels(QStatusBar* bar);

    QLabel* panel(Panel p) const { return m_panels[size_t(p)]; }
    void SetStatus(const QString& text);
    void SetCaret(int line, int column);
    // "Чтение" in red for read-only, else "Изменена" while modified, else empty.
    void SetState(bool readOnly, bool modified);
    void SetInsertMode(bool insert);
    // A zoom of 0 or less shows 100 %; no note shows "---".
    void SetZoom(int zoom, bool noteShown);
    void SetEnabled(Panel p, bool enabled);
    // Double-clicking a panel runs its command.
    std::function<void(Panel)> OnDoubleClick;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, Count> m_panels{};
    QTimer m_statusTimer;
};

// The caret text of panel 0: "Стр: %3d  Кол: %3d".
QString caretPanelText(int line, int column);
QString zoomPanelText(int zoom, bool noteShown);

} // namespace vlr
