#include "exchange/note_copy.h"

#include "storage/defaults.h"
#include "storage/notebook_service.h"

namespace vlr {

void TakeNoteLooks(TNotebookService& service, TNodeData& t, const TNodeData& s) {
    NoteRecord& r = t.Record;
    const NoteRecord& from = s.Record;
    r.copyLooksFrom(from);
    if (t.TreeNode)
        service.Forest().SetImages(t.TreeNode, from.ImageIndex(), from.ImageIndex());
}

TNodeData* AddNoteCopy(TNotebookService& service, TNodeRoot& notebook, TTreeNode* parent, int row,
                       const TNodeData& source, const QString& title, QByteArray body) {
    TNodeData* copy =
        service.AddNote(notebook, parent, row, title, NewNoteDefaults{}, source.Record.PlainText() != 0);
    // The fields that make the copy a note of its own, as AddNote gave them.
    const NoteRecord fresh = copy->Record;
    copy->Record = source.Record;
    NoteRecord& r = copy->Record;
    r.setID(fresh.ID());
    r.setLevel(fresh.Level());
    r.setCreated(fresh.Created());
    r.setSaved(0);
    r.setOffset(0);
    r.setSize(0);
    r.setSizeReserved(0);
    r.setRTFSize(0);
    r.setRawSize(0);
    r.setDigest(fresh.Digest());
    r.setDeleted(0);
    r.setNoteName(fresh.NoteName());
    // Packing and enciphering follow the new notebook; a read-only note stays one.
    r.setNoteFlags(source.Record.NoteFlags() & nfReadOnly);
    service.Forest().SetImages(copy->TreeNode, r.ImageIndex(), r.ImageIndex());
    service.Forest().SetStateIndex(copy->TreeNode, r.StateIndex());
    service.SetBody(*copy, std::move(body));
    return copy;
}

} // namespace vlr
