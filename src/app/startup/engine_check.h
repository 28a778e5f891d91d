#pragma once
// The program does not start without its engine library.
#include <QString>

namespace vlr {

// Shown, with this caption, when the engine library cannot be loaded.
inline const QString kStartupFailureText =
    QStringLiteral("FATAL! General initalization failed!\rPlease, report to Orvanta.");
inline const QString kStartupFailureCaption = QStringLiteral("Ошибка");

// Loads the engine library. When it cannot be loaded, tells the user through
// the message service and returns false: the process then ends.
[[nodiscard]] bool checkEngineLibrary();

} // namespace vlr
