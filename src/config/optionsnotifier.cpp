#include "config/optionsnotifier.h"

namespace vlr {

TOptionsNotifier& TOptionsNotifier::instance() {
    static TOptionsNotifier notifier;
    return notifier;
}

void TOptionsNotifier::apply(const TVLROptions& options, const TVLROptions* previous) {
    emit optionsApplied(options, previous);
}

bool hotKeyNeedsSetup(const TVLROptions& options, const TVLROptions* previous) {
    return !previous || options.EnableHotKey != previous->EnableHotKey ||
           options.ActivateHotKey != previous->ActivateHotKey || options.PlusWin != previous->PlusWin;
}

} // namespace vlr
