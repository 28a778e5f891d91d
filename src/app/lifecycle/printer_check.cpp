#include "app/lifecycle/printer_check.h"

#include <QPrinterInfo>

namespace vlr {

bool PrinterConfigured() {
    return !QPrinterInfo::defaultPrinter().isNull() || !QPrinterInfo::availablePrinters().isEmpty();
}

} // namespace vlr
