#pragma once
// Bringing deleted notes back and dropping a note's unsaved edits.
#include <QList>

namespace vlr {

class TNodeRoot;
class TNodeData;
class TNotebookService;

// Puts the chosen deleted notes back as the last top-level notes of their
// notebook, in the given order, in one tree insertion; they keep their
// stored bodies. Notes not among DeletedNotes are skipped. Returns the notes
// recovered.
QList<TNodeData*> RecoverDeletedNotes(TNotebookService& service, TNodeRoot& notebook,
                                      const QList<TNodeData*>& chosen);

// Drops the note's body in memory and reads it again from the file; true
// when it could be read (a note never stored stays empty and unloaded).
bool RevertNote(TNodeRoot& notebook, TNodeData& note);

} // namespace vlr
