#pragma once
// Applying options: the one place that pushes a changed record into the
// running program. Every part of the program that follows an option connects
// to optionsApplied (with a context object, so the connection ends with it)
// and updates itself: tree font and colours, editor settings, tray icon, hot
// key and so on. Receivers run in the order they connected.
#include "config/options.h"

#include <QObject>

namespace vlr {

class TOptionsNotifier final : public QObject {
    Q_OBJECT
public:
    static TOptionsNotifier& instance();

    // At start-up previous is null and everything is applied; from the
    // options dialog it is the record in force until now, so receivers can
    // skip what did not change.
    void apply(const TVLROptions& options, const TVLROptions* previous = nullptr);

signals:
    void optionsApplied(const vlr::TVLROptions& options, const vlr::TVLROptions* previous);
};

// The system-wide hot key is set up again at start-up, and afterwards only
// when EnableHotKey, ActivateHotKey or PlusWin changed.
bool hotKeyNeedsSetup(const TVLROptions& options, const TVLROptions* previous);

} // namespace vlr
