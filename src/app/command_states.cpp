#include "app/command_states.h"

namespace vlr {

bool IsSelectionBlocked(const CommandStateSnapshot& s) {
    return !s.noteSelected || (s.noteReadOnly && !s.notebookReadOnly);
}

CommandGroupStates SetActionGroups(CommandGroupStates states, bool enabled, int mask,
                                   const CommandStateSnapshot& s) {
    const bool blocked = IsSelectionBlocked(s);
    const bool bookRO = s.notebookReadOnly;
    const bool editable = !bookRO && !blocked;
    using G = CommandGroup;
    if (mask & kMaskNotebook) {
        states.Set(G::NotebookAction, enabled);
        states.Set(G::NoteRootAction, enabled);
        states.Set(G::NotebookActionRO, enabled && !bookRO);
        states.Set(G::NoteRootActionRO, enabled && !bookRO);
    }
    if (mask & kMaskNote) {
        states.Set(G::NoteAction, enabled);
        states.Set(G::NoteActionRO, enabled && editable);
    }
    if (mask & kMaskRtf) {
        states.Set(G::RTFAction, enabled);
        states.Set(G::RTFActionRO, enabled && editable);
    }
    if (mask & kMaskSelection) {
        states.Set(G::SelectedAction, enabled);
        states.Set(G::SelectedActionRO, enabled && editable);
    }
    return states;
}

} // namespace vlr
