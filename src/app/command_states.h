#pragma once
// Which command lists are enabled: a pure function of the window's state, so
// one table of cases covers it. Commands join the list their kind belongs to.
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>

namespace vlr {

enum class CommandGroup {
    FileAction,       // always enabled
    NotebookAction,   // a notebook is current
    NotebookActionRO, // ... and may be changed
    NoteRootAction,
    NoteRootActionRO,
    NoteAction, // a note is selected
    NoteActionRO,
    RTFAction, // a rich-text note is selected
    RTFActionRO,
    SelectedAction, // the editor has a selection
    SelectedActionRO,
    Count
};

// Mask bits of SetActionGroups.
enum : int { kMaskNotebook = 1, kMaskNote = 2, kMaskRtf = 4, kMaskSelection = 8, kMaskAll = 15 };

struct CommandStateSnapshot {
    bool noteSelected = false;     // the selection is a note, not a root
    bool noteReadOnly = false;     // the selected note carries its read-only flag
    bool notebookReadOnly = false; // the current notebook carries its read-only flag
    bool rootSelected = false;     // the selection is a notebook root
    bool noteHeld = false;         // a note waits in the note buffer
};

class CommandGroupStates {
public:
    CommandGroupStates() {
        m_enabled.fill(false);
        m_enabled[std::size_t(CommandGroup::FileAction)] = true;
    }
    bool IsEnabled(CommandGroup g) const { return m_enabled[std::size_t(g)]; }
    void Set(CommandGroup g, bool on) { m_enabled[std::size_t(g)] = on; }
    bool operator==(const CommandGroupStates&) const = default;

private:
    std::array<bool, std::size_t(CommandGroup::Count)> m_enabled{};
};

// Enables or disables the lists of the masked kinds; a read-only notebook or
// note keeps its changing lists off.
CommandGroupStates SetActionGroups(CommandGroupStates states, bool enabled, int mask,
                                   const CommandStateSnapshot& snapshot);

// True when the editing lists must stay off although a note is selected.
bool IsSelectionBlocked(const CommandStateSnapshot& snapshot);

// The list a command (by its name) belongs to; none for commands another
// controller enables (undo and redo follow the editor's history) and for the
// paste commands, which also follow the clipboard (see ExtraCommandStates).
std::optional<CommandGroup> CommandGroupOf(QStringView command);

// Commands whose state also depends on the note buffer or the clipboard,
// decided after the lists.
struct CommandExtraStates {
    bool notebookSpecialsPaste = false;
    bool notebookSpecialsPasteAfter = false;
    // The editor's paste commands may follow the clipboard; otherwise off.
    bool pasteAllowed = false;
};
CommandExtraStates ExtraCommandStates(const CommandGroupStates& states, const CommandStateSnapshot& snapshot);

} // namespace vlr
