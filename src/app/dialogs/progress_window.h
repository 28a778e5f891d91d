#pragma once
// The progress window of long operations: owned by the window that was
// active, keeping all other windows disabled while it is shown.
#include "core/progress.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vlr {

class TfrmProgress final : public QDialog {
    Q_OBJECT
public:
    TfrmProgress(QWidget* owner, const QString& text, int maximum, bool showStop);

    QLabel* textLabel() const { return m_text; }
    QProgressBar* bar() const { return m_bar; }
    QPushButton* stopButton() const { return m_stop; }
    bool stopRequested() const { return m_stopRequested; }
    void requestStop();

    // Escape and the close button stop the operation when it can be
    // stopped; otherwise they do nothing.
    void reject() override;

private:
    QLabel* m_text;
    QProgressBar* m_bar;
    QPushButton* m_stop;
    bool m_stopRequested = false;
};

class TGuiProgressService final : public ProgressService {
public:
    ~TGuiProgressService() override;

    void start(const QString& text, int maximum, bool showStop) override;
    bool step(int n) override;
    void end() override;

    // The window shown, if any.
    TfrmProgress* window() const { return m_window; }

private:
    void destroyWindow();

    QPointer<TfrmProgress> m_window;
    bool m_stopped = false;
    bool m_canStop = false;
};

} // namespace vlr
