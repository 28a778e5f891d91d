#include "app/lifecycle/printer_check.h"

#include "app/command_texts.h"
#include "core/messages.h"

#include <QPrinterInfo>

namespace vlr {

bool PrinterConfigured() {
    return !QPrinterInfo::defaultPrinter().isNull() || !QPrinterInfo::availablePrinters().isEmpty();
}

bool CheckPrinter(bool& askNoPrinter, const std::function<bool()>& configured) {
    if (configured())
        return true;
    ConfirmOnce(kAttention, kNoPrinter, askNoPrinter, MbOk, MsgIcon::Warning);
    return false;
}

} // namespace vlr
