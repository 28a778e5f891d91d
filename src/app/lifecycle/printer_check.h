#pragma once
// The look for a printer when the main window is created: without one the
// print commands stay off for the whole run, and the user is told why (a
// warning they may switch off).
#include <QString>

#include <functional>

namespace vlr {

inline const QString kNoPrinter = QStringLiteral(
    "В системе не установлен драйвер принтера по умолчанию! К сожалению, все функции печати отключены. "
    "Настроятельно рекомендуется установить драйвер принтера, даже если у вас нет самого принтера. Подробнее "
    "читайте в документации...");

// Whether the system has a printer set up: a default one or any at all.
bool PrinterConfigured();

// Returns whether printing is available. Without a printer the warning is
// shown under askNoPrinter, whose check box may switch it off.
bool CheckPrinter(bool& askNoPrinter, const std::function<bool()>& configured = PrinterConfigured);

} // namespace vlr
