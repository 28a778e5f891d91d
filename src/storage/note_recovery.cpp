#include "storage/note_recovery.h"

#include "storage/notebook_service.h"

namespace vlr {

QList<TNodeData*> RecoverDeletedNotes(TNotebookService& service, TNodeRoot& notebook,
                                      const QList<TNodeData*>& chosen) {
    QList<TNodeData*> recovered;
    TTreeNode* root = notebook.RootNode;
    if (!root)
        return recovered;
    TNoteForest& forest = service.Forest();
    TNodeBatch batch = forest.NewBatch();
    for (TNodeData* note : chosen) {
        if (!notebook.DeletedNotes.contains(note) || recovered.contains(note))
            continue;
        TTreeNode* node = forest.AddToBatch(batch, nullptr, note->Record.NoteName());
        forest.SetNote(node, note);
        const int image = note->Record.ImageIndex();
        forest.SetImages(node, image, image);
        note->TreeNode = node;
        note->RootNode = root;
        note->Record.setLevel(1);
        note->Record.setDeleted(0);
        // An empty body is read from the file when first shown.
        note->Loaded = !note->Body.isEmpty();
        recovered.append(note);
    }
    if (recovered.isEmpty())
        return recovered;
    for (TNodeData* note : std::as_const(recovered))
        notebook.DeletedNotes.removeOne(note);
    forest.Attach(std::move(batch), root, root->Count());
    notebook.RebuildNotesList(root);
    forest.SetExpanded(root, true);
    notebook.TreeDirty = true;
    notebook.Modified = true;
    return recovered;
}

bool RevertNote(TNodeRoot& notebook, TNodeData& note) {
    if (!note.TreeNode)
        return false;
    note.Body.clear();
    note.Loaded = false;
    notebook.ReadNoteByNode(note.TreeNode);
    if (note.Loaded)
        note.Clean = true;
    return note.Loaded;
}

} // namespace vlr
