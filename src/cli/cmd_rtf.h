#pragma once
// `vlr rtf FILE [--to text|html|rtf]`: runs the RTF reader on a file and
// prints the plain text, the HTML page or the RTF written back.
#include <QStringList>

namespace vlr::cli {

// args: what follows "rtf". Returns the exit code (2 on unusable input).
int cmdRtf(const QStringList& args);

} // namespace vlr::cli
