#pragma once
// One note in memory: its tree record and, once needed, its body.
#include "storage/note_record.h"

#include <QByteArray>

namespace vlr {

class TTreeNode;

class TNodeData {
public:
    NoteRecord Record;
    TTreeNode* TreeNode = nullptr; // none for a deleted note
    TTreeNode* RootNode = nullptr; // the root node of the note's notebook
    QByteArray Body;               // as the rich-text control writes it
    bool Loaded = false;           // Body holds the note's body
    bool Clean = false;            // the stored body equals Body
    mutable int IndexHint = -1;    // last known position in the notebook's Notes

    bool HasNoteFlag(uint32_t mask) const { return (Record.NoteFlags() & mask) == mask; }
    void SetNoteFlag(uint32_t mask, bool on) {
        Record.setNoteFlags(on ? (Record.NoteFlags() | mask) : (Record.NoteFlags() & ~mask));
    }
};

} // namespace vlr
