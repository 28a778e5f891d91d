#pragma once
// The structured export: the export tree copied into a new notebook file.
#include "exchange/export_targets.h"
#include "storage/defaults.h"

namespace vlr {

class TExportTree;
class TWriteGuard;

struct TNotebookFileChoices {
    QString fileName;
    bool compress = false;
    QString password; // empty: not enciphered
};

// Copies every node of the export tree below its root, descendants included
// (the marks are not consulted), into a notebook that is never shown, saves
// it and lets it go. The notebook takes the export's notebook title,
// pictures and root picture. It is saved beside the target and renamed over
// it, so a failed save leaves no file under the target's name; an open
// notebook is never the target. A failed save gives "Error saving .VLR-file!".
[[nodiscard]] TExportOutcome
ExportToNotebookFile(const TExportTree& tree, const TNotebookFileChoices& choices, const TWriteGuard& guard);

} // namespace vlr
