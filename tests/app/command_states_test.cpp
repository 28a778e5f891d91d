// Which commands the main window enables for each kind of selection: the
// lists, the read-only rules, and the commands decided after the lists.
#include "app/command_states.h"

#include <QString>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace vlr {
namespace {

enum class Selection { Nothing, Root, RichNote, PlainNote, RichNoteWithText };

struct Situation {
    const char* name;
    Selection selection;
    bool notebookReadOnly;
    bool noteReadOnly;
};

// What the window does on a tree or editor selection change.
CommandGroupStates StatesFor(const Situation& s, CommandStateSnapshot& snapshot) {
    snapshot.noteSelected = s.selection != Selection::Nothing && s.selection != Selection::Root;
    snapshot.rootSelected = s.selection == Selection::Root;
    snapshot.notebookReadOnly = s.notebookReadOnly;
    snapshot.noteReadOnly = s.noteReadOnly;
    CommandGroupStates states;
    switch (s.selection) {
    case Selection::Nothing:
        return SetActionGroups(states, false, kMaskAll, snapshot);
    case Selection::Root:
        states = SetActionGroups(states, true, kMaskNotebook, snapshot);
        return SetActionGroups(states, false, kMaskNote | kMaskRtf | kMaskSelection, snapshot);
    case Selection::RichNote:
    case Selection::PlainNote:
    case Selection::RichNoteWithText:
        states = SetActionGroups(states, true, kMaskNotebook | kMaskNote, snapshot);
        states = SetActionGroups(states, s.selection != Selection::PlainNote, kMaskRtf, snapshot);
        return SetActionGroups(states, s.selection == Selection::RichNoteWithText, kMaskSelection, snapshot);
    }
    return states;
}

bool Enabled(const CommandGroupStates& states, const char* command) {
    const std::optional<CommandGroup> group = CommandGroupOf(QString::fromLatin1(command));
    EXPECT_TRUE(group.has_value()) << command;
    return group && states.IsEnabled(*group);
}

struct Expectation {
    Situation situation;
    // Commands expected on, then off; one sample of every list that matters.
    std::vector<const char*> on;
    std::vector<const char*> off;
};

class CommandStatesTest : public ::testing::TestWithParam<Expectation> {};

TEST_P(CommandStatesTest, ListsFollowTheSelectionAndReadOnlyFlags) {
    const Expectation& e = GetParam();
    CommandStateSnapshot snapshot;
    const CommandGroupStates states = StatesFor(e.situation, snapshot);
    for (const char* c : e.on)
        EXPECT_TRUE(Enabled(states, c)) << e.situation.name << ": " << c;
    for (const char* c : e.off)
        EXPECT_FALSE(Enabled(states, c)) << e.situation.name << ": " << c;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandStatesTest,
    ::testing::Values(
        Expectation{{"empty tree", Selection::Nothing, false, false},
                    {"FileNew", "FileOpen", "FileExit", "ViewFullScreen", "HelpTipOfDay"},
                    {"FileSave", "FileClose", "NoteRoot", "NotebookDelete", "FormatBold", "FormatAlignLeft",
                     "EditCopy", "FileSetAway"}},
        Expectation{
            {"root", Selection::Root, false, false},
            {"FileSave", "FileClose", "NotebookRename", "NoteRootVisual", "FormatBold", "FormatColor",
             "FilePack"},
            {"NotebookDelete", "FileExportNote", "FormatAlignLeft", "FormatFont", "EditCopy", "EditCut"}},
        Expectation{{"root of a read-only notebook", Selection::Root, true, false},
                    {"FileClose", "NoteRoot", "FilePack", "NoteRootSecurity"},
                    {"FileSave", "NotebookRename", "NoteRootVisual", "FormatBold", "FileImport"}},
        Expectation{{"rich note", Selection::RichNote, false, false},
                    {"FileSave", "NotebookDelete", "NotebookMoveLeft", "FormatBold", "FormatAlignLeft",
                     "FormatFont", "FormatBullets", "EditPasteSpecial", "NotebookRevert"},
                    {"EditCopy", "EditCut", "FormatUppercase"}},
        Expectation{{"rich note, text selected", Selection::RichNoteWithText, false, false},
                    {"EditCopy", "EditCut", "FormatUppercase", "FormatOemToAnsi"},
                    {}},
        Expectation{{"plain note", Selection::PlainNote, false, false},
                    {"NotebookDelete", "FormatBold", "EditPasteSpecial"},
                    {"FormatAlignLeft", "FormatFont", "FormatBullets", "FormatSuperscript"}},
        Expectation{{"read-only note", Selection::RichNoteWithText, false, true},
                    {"FileSave", "FileExportNote", "NotebookSpecialsCopy", "EditCopy", "FormatBold"},
                    {"NotebookDelete", "EditPasteSpecial", "FormatAlignLeft", "FormatFont", "EditCut",
                     "FormatUppercase"}},
        Expectation{{"note of a read-only notebook", Selection::RichNoteWithText, true, false},
                    {"FileClose", "FileExportNote", "EditCopy", "NotebookRevert"},
                    {"FileSave", "NotebookRename", "FormatBold", "NotebookDelete", "FormatFont", "EditCut"}}),
    [](const auto& info) {
        std::string name = info.param.situation.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST(CommandStates, CommandsWithTheirOwnRulesBelongToNoList) {
    // Undo and redo follow the editor's history, paste follows the clipboard,
    // and the underline and numbering items are gated by their menus.
    for (const char* c :
         {"EditUndo", "EditRedo", "EditPaste", "EditPasteText", "UnderlineSingle", "NumberingArabic"})
        EXPECT_FALSE(CommandGroupOf(QString::fromLatin1(c)).has_value()) << c;
}

struct ExtraCase {
    const char* name;
    Situation situation;
    bool held;
    bool paste, pasteAfter, pasteAllowed;
};

class ExtraStatesTest : public ::testing::TestWithParam<ExtraCase> {};

TEST_P(ExtraStatesTest, BufferAndClipboardCommands) {
    const ExtraCase& c = GetParam();
    CommandStateSnapshot snapshot;
    const CommandGroupStates states = StatesFor(c.situation, snapshot);
    snapshot.noteHeld = c.held;
    const CommandExtraStates x = ExtraCommandStates(states, snapshot);
    EXPECT_EQ(x.notebookSpecialsPaste, c.paste) << c.name;
    EXPECT_EQ(x.notebookSpecialsPasteAfter, c.pasteAfter) << c.name;
    EXPECT_EQ(x.pasteAllowed, c.pasteAllowed) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExtraStatesTest,
    ::testing::Values(
        ExtraCase{"nothing held", {"", Selection::RichNote, false, false}, false, false, false, true},
        ExtraCase{"held, note", {"", Selection::RichNote, false, false}, true, true, true, true},
        ExtraCase{"held, root", {"", Selection::Root, false, false}, true, true, false, false},
        ExtraCase{"held, read-only notebook", {"", Selection::Root, true, false}, true, false, false, false},
        ExtraCase{"read-only note", {"", Selection::RichNote, false, true}, true, true, true, false},
        ExtraCase{"empty tree", {"", Selection::Nothing, false, false}, true, false, false, false}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

} // namespace
} // namespace vlr
