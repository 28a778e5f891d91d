#pragma once
// The progress window of long operations, as a service: the GUI installs a
// window, tests a recorder; without one nothing is shown and Stop is never
// pressed.
#include <QString>

namespace vlr {

class ProgressService {
public:
    virtual ~ProgressService() = default;
    // Replaces any progress shown before: the text, position 0 of maximum and
    // a Stop button when showStop is set.
    virtual void start(const QString& text, int maximum, bool showStop) = 0;
    // Advances by n; true once Stop has been pressed.
    [[nodiscard]] virtual bool step(int n) = 0;
    // Shows the maximum and closes the progress.
    virtual void end() = 0;
};

class SilentProgressService final : public ProgressService {
public:
    void start(const QString&, int, bool) override {}
    bool step(int) override { return false; }
    void end() override {}
};

// The process-wide service; a SilentProgressService until one is installed.
ProgressService& progressService();
// Installs a service (not owned); nullptr restores the default. Returns the previous one.
ProgressService* setProgressService(ProgressService* service);

void ProgressStart(const QString& text, int maximum, bool showStop);
[[nodiscard]] bool ProgressStep(int n = 1);
void ProgressEnd();

// Starts the progress and ends it when the scope is left, also by an exception.
class ScopedProgress {
public:
    ScopedProgress(const QString& text, int maximum, bool showStop = false);
    ~ScopedProgress();
    ScopedProgress(const ScopedProgress&) = delete;
    ScopedProgress& operator=(const ScopedProgress&) = delete;

    [[nodiscard]] bool step(int n = 1) { return ProgressStep(n); }
};

} // namespace vlr
