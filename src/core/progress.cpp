#include "core/progress.h"

#include "core/service_slot.h"

namespace vlr {

namespace {
SilentProgressService g_silent;
ServiceSlot<ProgressService> g_progress(g_silent);
} // namespace

ProgressService& progressService() {
    return g_progress.get();
}

ProgressService* setProgressService(ProgressService* service) {
    return g_progress.install(service);
}

void ProgressStart(const QString& text, int maximum, bool showStop) {
    progressService().start(text, maximum, showStop);
}

bool ProgressStep(int n) {
    return progressService().step(n);
}

void ProgressEnd() {
    progressService().end();
}

ScopedProgress::ScopedProgress(const QString& text, int maximum, bool showStop) {
    ProgressStart(text, maximum, showStop);
}

ScopedProgress::~ScopedProgress() {
    ProgressEnd();
}

} // namespace vlr
