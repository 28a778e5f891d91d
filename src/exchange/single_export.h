#pragma once
// Writing a combined document to a file: RTF, plain or OEM text, HTML, or a
// converter's format.
#include "exchange/export_targets.h"
#include "exchange/export_tree.h"

namespace vlr {

class TCombinedDocument;
class TConverterRun;
class TWriteGuard;
struct TConverter;

// The default extension of a target's save dialog ("rtf", "txt", "htm", or
// the converter's first).
QString DefaultExtension(TDocumentTarget target, const TConverter* converter = nullptr);

// A name typed without an extension gets "." and the default one.
QString WithDefaultExtension(const QString& fileName, const QString& extension);

// The title of the HTML page: the typed one, else the note's for the export
// of one note, else the notebook's, else the first exported note's. It also
// presets the title box.
QString HtmlPageTitle(const QString& typed, const TExportTree& tree, TExportTree::Command command);

// FileRTF, FilePlain, FileOEM, FileHTML or Converter (with converter and run).
[[nodiscard]] TExportOutcome SaveDocument(const TCombinedDocument& document, TDocumentTarget target,
                                          const QString& fileName, const THtmlChoices& html,
                                          const TWriteGuard& guard, const TConverter* converter = nullptr,
                                          TConverterRun* run = nullptr);

} // namespace vlr
