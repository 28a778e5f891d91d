#include "support/recording_progress.h"

namespace vlr::test {

RecordingProgress::RecordingProgress() : m_previous(setProgressService(this)) {}
RecordingProgress::~RecordingProgress() {
    setProgressService(m_previous);
}

void RecordingProgress::start(const QString& text, int maximum, bool showStop) {
    m_calls << QStringLiteral("start %1 %2 %3").arg(text).arg(maximum).arg(showStop ? "stop" : "nostop");
    m_steps = 0;
    m_position = 0;
    m_stopped = false;
    m_running = true;
}

bool RecordingProgress::step(int n) {
    m_calls << QStringLiteral("step %1").arg(n);
    m_position += n;
    if (++m_steps == m_stopAt)
        m_stopped = true;
    return m_stopped;
}

void RecordingProgress::end() {
    m_calls << QStringLiteral("end");
    m_running = false;
}

} // namespace vlr::test
