#pragma once
// Putting a note into the editor and taking the editor's state back: the
// editor side of the tree's selection change.
namespace vlr {

class TMyRichEdit;
class TNodeData;
class TNodeRoot;
struct TVLROptions;

// Loads the note into the editor in its mode (rich or plain text) with that
// mode's base font, its background colour, its zoom (when above 0) and, with
// SaveCursor, its caret, selection and scroll position; the editor's
// modified flag ends clear. The body is read from the file first when it is
// not in memory. Returns false when the body could not be read: the editor
// is then left empty. Raises what reading or loading raises.
[[nodiscard]] bool BindNoteToEditor(TMyRichEdit& editor, TNodeRoot& notebook, TNodeData& note,
                                    const TVLROptions& options);

// The read-only rule: the notebook's or the note's read-only flag, or a
// notebook opened read-only, whose changes could never be saved.
bool NoteIsReadOnly(const TNodeRoot& notebook, const TNodeData& note);

// Writable and empty, as for a notebook root.
void ClearEditor(TMyRichEdit& editor);

// The editor's caret, selection and scroll position into the note's record;
// true when they differ from what the record held.
bool StoreEditorPosition(const TMyRichEdit& editor, TNodeData& note);

} // namespace vlr
