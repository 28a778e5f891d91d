#pragma once
// What the options decide in the note editor: the settings applied at
// start-up and after the options dialog, and the formatting a note created
// with defaults starts with.
namespace vlr {

class TMyRichEdit;
struct TVLROptions;

// Word selection, word wrap and link detection.
void ApplyEditorOptions(TMyRichEdit& editor, const TVLROptions& options);

// The bound new note: editor colour, empty text, the default paragraph and
// character formatting, no undo history.
void ApplyNewNoteDefaults(TMyRichEdit& editor, const TVLROptions& options);

} // namespace vlr
