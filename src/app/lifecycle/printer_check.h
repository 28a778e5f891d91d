#pragma once
// Whether a printer is set up. Printing never depends on it here: output to a
// PDF file is always possible, so the start does not warn about a missing
// printer driver, and the print dialogs offer the PDF file when this is false.

namespace vlr {

// The system has a printer set up: a default one or any at all.
bool PrinterConfigured();

} // namespace vlr
