#include "app/command_states.h"

#include <algorithm>
#include <iterator>

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

namespace {

struct Placement {
    QStringView command;
    CommandGroup group;
};

using G = CommandGroup;

// Every command of the main window and the list it follows. Commands not
// built yet are listed already, so they fall into place when they appear.
constexpr Placement kPlacements[] = {
    // Always enabled.
    {u"FileNew", G::FileAction},
    {u"FileOpen", G::FileAction},
    {u"FileOpenLast", G::FileAction},
    {u"FileClearMRU", G::FileAction},
    {u"FileOptions", G::FileAction},
    {u"FileOptionsDef", G::FileAction},
    {u"FileOptionsLang", G::FileAction},
    {u"FileStealth", G::FileAction},
    {u"FileExit", G::FileAction},
    {u"ViewTB", G::FileAction},
    {u"ViewTBLock", G::FileAction},
    {u"ViewTBRemoveFav", G::FileAction},
    {u"ViewTBMenu", G::FileAction},
    {u"ViewTBMain", G::FileAction},
    {u"ViewTBEdit", G::FileAction},
    {u"ViewTBFormat", G::FileAction},
    {u"ViewTBMisc", G::FileAction},
    {u"ViewTBInsert", G::FileAction},
    {u"ViewTBFavs", G::FileAction},
    {u"ViewClock", G::FileAction},
    {u"ViewClipViewer", G::FileAction},
    {u"ViewTextCol", G::FileAction},
    {u"ViewStatus", G::FileAction},
    {u"ViewTheme", G::FileAction},
    {u"ViewToggleTree", G::FileAction},
    // A full-screen editor must be possible to leave whatever is selected.
    {u"ViewFullScreen", G::FileAction},
    {u"HelpTopics", G::FileAction},
    {u"HelpKeyboard", G::FileAction},
    {u"HelpTipOfDay", G::FileAction},
    {u"HelpOnline", G::FileAction},
    {u"HelpOnlineFAQ", G::FileAction},
    {u"HelpOnlineLatest", G::FileAction},
    {u"HelpFeedback", G::FileAction},
    {u"HelpAbout", G::FileAction},
    {u"FavoritesOrganizer", G::FileAction},
    {u"FavoritesAdd", G::FileAction},
    {u"FilePrefs", G::FileAction},
    {u"ToolsShortcuts", G::FileAction},
    {u"ToolsSpellOptions", G::FileAction},
    // A notebook is current.
    {u"FileClose", G::NotebookAction},
    {u"FileCloseAll", G::NotebookAction},
    {u"FileCloseNotSave", G::NotebookAction},
    {u"FileSaveAs", G::NotebookAction},
    {u"FileSaveAll", G::NotebookAction},
    {u"FileExport", G::NotebookAction},
    {u"FileExportBackup", G::NotebookAction},
    {u"FileExportNew", G::NotebookAction},
    {u"EditFindInNotebook", G::NotebookAction},
    {u"EditFindNote", G::NotebookAction},
    {u"NotebookAddInherit", G::NotebookAction},
    {u"NotebookPrev", G::NotebookAction},
    {u"NotebookNext", G::NotebookAction},
    {u"NotebookExpand", G::NotebookAction},
    {u"NotebookCollapse", G::NotebookAction},
    {u"NotebookHistBack", G::NotebookAction},
    {u"NotebookHistForw", G::NotebookAction},
    {u"ViewZoom", G::NotebookAction},
    {u"FileSetAway", G::NotebookAction},
    // These stay available on a read-only notebook to say why they cannot
    // change it, instead of turning grey without a word.
    {u"FilePack", G::NotebookAction},
    {u"NotebookRecover", G::NotebookAction},
    {u"NoteRootSaving", G::NotebookAction},
    {u"NoteRootSecurity", G::NotebookAction},
    // ... and may be changed.
    {u"FileSave", G::NotebookActionRO},
    {u"NotebookAdd", G::NotebookActionRO},
    {u"NotebookAddAsChild", G::NotebookActionRO},
    {u"NotebookAddTemp", G::NotebookActionRO},
    {u"NotebookRename", G::NotebookActionRO},
    {u"NotebookMoveUp", G::NotebookActionRO},
    {u"NotebookMoveDown", G::NotebookActionRO},
    {u"NotebookSort", G::NotebookActionRO},
    {u"NotebookSortNone", G::NotebookActionRO},
    // Title styles and colours of tree nodes as well as of editor text.
    {u"FormatBold", G::NotebookActionRO},
    {u"FormatItalic", G::NotebookActionRO},
    {u"FormatUnderline", G::NotebookActionRO},
    {u"FormatStrikeout", G::NotebookActionRO},
    {u"FormatColor", G::NotebookActionRO},
    {u"FormatColorDefault", G::NotebookActionRO},
    {u"FormatBack", G::NotebookActionRO},
    {u"FormatBackDefault", G::NotebookActionRO},
    {u"FileImport", G::NotebookActionRO},
    {u"FileImportFiles", G::NotebookActionRO},
    {u"NoteRoot", G::NoteRootAction},
    {u"NoteRootAuthor", G::NoteRootAction},
    {u"NoteRootVisual", G::NoteRootActionRO},
    {u"NoteRootImages", G::NoteRootActionRO},
    {u"NoteRootNoImage", G::NoteRootActionRO},
    // A note is selected.
    {u"FileExportNote", G::NoteAction},
    {u"FilePrintPreview", G::NoteAction},
    {u"FilePageSetup", G::NoteAction},
    {u"FilePrinterSetup", G::NoteAction},
    {u"FilePrint", G::NoteAction},
    {u"EditSelectAll", G::NoteAction},
    {u"EditFind", G::NoteAction},
    {u"EditFindAgain", G::NoteAction},
    {u"EditGotoLine", G::NoteAction},
    {u"ViewRuler", G::NoteAction},
    {u"NotebookAddAfter", G::NoteAction},
    {u"NotebookProperties", G::NoteAction},
    {u"NotebookSpecials", G::NoteAction},
    {u"NotebookSpecialsCut", G::NoteAction},
    {u"NotebookSpecialsCopy", G::NoteAction},
    {u"ToolsSpellCheck", G::NoteAction},
    {u"ToolsSpellLanguages", G::NoteAction},
    {u"URLOpen", G::NoteAction},
    {u"URLOpenNew", G::NoteAction},
    {u"URLCopy", G::NoteAction},
    // Asks before it changes a read-only note.
    {u"NotebookRevert", G::NoteAction},
    // ... and may be changed.
    {u"EditPasteSpecial", G::NoteActionRO},
    {u"EditDelete", G::NoteActionRO},
    {u"EditAutoIndent", G::NoteActionRO},
    {u"EditReplace", G::NoteActionRO},
    {u"EditMath", G::NoteActionRO},
    {u"EditMathPasteLast", G::NoteActionRO},
    {u"NotebookDelete", G::NoteActionRO},
    {u"NotebookSpecialsPaste", G::NoteActionRO},
    {u"NotebookSpecialsPasteAfter", G::NoteActionRO},
    {u"NotebookMoveLeft", G::NoteActionRO},
    {u"NotebookMoveRight", G::NoteActionRO},
    {u"InsertFromFile", G::NoteActionRO},
    {u"InsertDate", G::NoteActionRO},
    {u"InsertTime", G::NoteActionRO},
    {u"InsertDateTime", G::NoteActionRO},
    {u"InsertSeparator", G::NoteActionRO},
    {u"InsertSeparatorMenu", G::NoteActionRO},
    {u"InsertSymbol", G::NoteActionRO},
    // A rich-text note is selected.
    {u"FormatStyleEditor", G::RTFAction},
    {u"FormatPickStyle", G::RTFAction},
    {u"InsertListCust", G::RTFAction},
    // ... and may be changed.
    {u"EditObject", G::RTFActionRO},
    {u"FormatFont", G::RTFActionRO},
    {u"FormatParagraph", G::RTFActionRO},
    {u"FormatTabs", G::RTFActionRO},
    {u"FormatApplyStyle", G::RTFActionRO},
    {u"FormatSpecial", G::RTFActionRO},
    {u"FormatSpecialProtected", G::RTFActionRO},
    {u"FormatSpecialDisabled", G::RTFActionRO},
    {u"FormatUnderlineType", G::RTFActionRO},
    {u"FormatNumberingType", G::RTFActionRO},
    {u"FormatFontUp", G::RTFActionRO},
    {u"FormatFontDown", G::RTFActionRO},
    {u"InsertPicture", G::RTFActionRO},
    {u"InsertObject", G::RTFActionRO},
    {u"InsertLinkToFile", G::RTFActionRO},
    {u"FormatAlign", G::RTFActionRO},
    {u"FormatAlignLeft", G::RTFActionRO},
    {u"FormatAlignCenter", G::RTFActionRO},
    {u"FormatAlignRight", G::RTFActionRO},
    {u"FormatAlignJustify", G::RTFActionRO},
    {u"FormatBullets", G::RTFActionRO},
    {u"FormatSuperscript", G::RTFActionRO},
    {u"FormatSubscript", G::RTFActionRO},
    {u"ToolsLanguage", G::RTFActionRO},
    // The editor has a selection.
    {u"EditCopy", G::SelectedAction},
    // ... and the note may be changed.
    {u"EditMathEvaluate", G::SelectedActionRO},
    {u"EditCut", G::SelectedActionRO},
    {u"FormatUppercase", G::SelectedActionRO},
    {u"FormatLowercase", G::SelectedActionRO},
    {u"FormatOemToAnsi", G::SelectedActionRO},
    {u"FormatAnsiToOem", G::SelectedActionRO},
};

} // namespace

std::optional<CommandGroup> CommandGroupOf(QStringView command) {
    const auto it = std::find_if(std::begin(kPlacements), std::end(kPlacements),
                                 [command](const Placement& p) { return p.command == command; });
    if (it == std::end(kPlacements))
        return std::nullopt;
    return it->group;
}

CommandExtraStates ExtraCommandStates(const CommandGroupStates& states, const CommandStateSnapshot& s) {
    CommandExtraStates x;
    const bool notebookCurrent = s.noteSelected || s.rootSelected;
    // Pasting from the note buffer adds a note, so the notebook must take it;
    // pasting after a note that the notebook refuses is explained by the command.
    x.notebookSpecialsPaste = s.noteHeld && notebookCurrent && !s.notebookReadOnly;
    x.notebookSpecialsPasteAfter = s.noteHeld && s.noteSelected;
    // A read-only note takes nothing from the clipboard either.
    x.pasteAllowed = states.IsEnabled(CommandGroup::NoteActionRO);
    return x;
}

} // namespace vlr
