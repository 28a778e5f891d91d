#pragma once
// The targets that put a combined document into notes: the current note,
// a new note after it, a new notebook in the tree.
#include "exchange/export_targets.h"
#include "storage/defaults.h"

namespace vlr {

class TCombinedDocument;
class TExportTree;
class TNodeData;
class TNodeRoot;
class TNotebookService;
class TTreeNode;

// The body a note of the given kind holds for the document.
QByteArray BodyFor(const TCombinedDocument& document, bool plainNote);

// Replaces the note's text by the document and marks it modified; with
// deleteDescendants all its descendants are deleted afterwards. A read-only
// note or notebook is refused.
[[nodiscard]] TExportOutcome WriteIntoNote(TNotebookService& service, TNodeData& note,
                                           const TCombinedDocument& document, bool deleteDescendants);

// A rich note titled title after current holding the document (for a
// notebook's root: its last note).
[[nodiscard]] TExportOutcome AddNoteAfter(TNotebookService& service, TTreeNode* current, const QString& title,
                                          const TCombinedDocument& document, const NewNoteDefaults& defaults,
                                          TNodeData** created = nullptr);

struct TNewNotebookChoices {
    NewNotebookDefaults notebook;
    NewNoteDefaults note;
    QString password; // empty: not enciphered
};

// A new notebook in the tree, as the new-notebook command makes one, with
// the pictures, root picture, title colour and style and default note
// picture of the export's notebook, and one note holding the document (a
// plain note for a plain export). Started from a note, the new note takes
// that note's looks.
[[nodiscard]] TExportOutcome AddNotebookWith(TNotebookService& service, const TExportTree& tree,
                                             const TCombinedDocument& document,
                                             const TNewNotebookChoices& choices,
                                             TNodeRoot** created = nullptr);

} // namespace vlr
