#pragma once
// Copies of notes made by the exchange: a new note through the notebook
// service that takes over another note's looks and stored fields.
#include <QByteArray>
#include <QString>

namespace vlr {

class TNodeData;
class TNodeRoot;
class TNotebookService;
class TTreeNode;
struct NewNoteDefaults;

// The looks a note made from an export takes from the note it started from:
// title colour and style, picture, page margins, header and footer formats
// and font, print options.
void TakeNoteLooks(TNotebookService& service, TNodeData& target, const TNodeData& source);

// A copy of source below parent at row, as a copy is made: every stored
// field of source, then a fresh identity, created now, never saved, nothing
// in the file yet; the body given; the expanded state kept.
TNodeData* AddNoteCopy(TNotebookService& service, TNodeRoot& notebook, TTreeNode* parent, int row,
                       const TNodeData& source, const QString& title, QByteArray body);

} // namespace vlr
