#pragma once
// A progress service for tests: records every call and presses Stop on the
// step it is told to. Installs itself for its lifetime.
#include "core/progress.h"

#include <QStringList>

namespace vlr::test {

class RecordingProgress final : public ProgressService {
public:
    RecordingProgress();
    ~RecordingProgress() override;

    void start(const QString& text, int maximum, bool showStop) override;
    bool step(int n) override;
    void end() override;

    // Stop is pressed during the given step (1-based, counted from the last start).
    void stopAtStep(int step) { m_stopAt = step; }
    // "start TEXT MAX stop|nostop", "step N", "end", in order.
    const QStringList& calls() const { return m_calls; }
    int position() const { return m_position; }
    bool running() const { return m_running; }

private:
    ProgressService* m_previous;
    QStringList m_calls;
    int m_stopAt = 0;
    int m_steps = 0;
    int m_position = 0;
    bool m_stopped = false;
    bool m_running = false;
};

} // namespace vlr::test
